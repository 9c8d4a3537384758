// The window's skin: the built-in skin it carries, and the skin data every
// skinned element asks for its entries.

#include "app/MainWindow.h"

#include "skin/bsBuiltinSkin.h"
#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinForm.h"
#include "skin/bsSkinMessages.h"
#include "skinctrls/ExceptionSink.h"
#include "skinctrls/TbsSkinClient.h"

namespace rasp {

void TfrmMain::CreateSkinComponents()
{
    // Registered before the skin loads, so the window hears the change
    // messages of its own first load; the list forgets destroyed forms.
    TbsFormList::Register(this);

    bsCompressedStoredSkin1 = new TbsCompressedStoredSkin(this);
    bsAssignBuiltinSkin(*bsCompressedStoredSkin1);
    bsSkinData1 = new TbsSkinData(this);
    // Until the skinned frame takes the window over, the window itself passes
    // the skin's change messages on to its controls.
    new TbsSkinMessageRelay(this);
    // Every skinned control of the window draws from this skin; the first
    // load reaches them through the change messages.
    bsBindSkinData(this, bsSkinData1);
    msgMain->SetSkinData(bsSkinData1);
    try {
        bsSkinData1->SetCompressedStoredSkin(bsCompressedStoredSkin1);
    } catch (...) {
        // The window still opens, unskinned; the error is shown once.
        ReportException(std::current_exception());
    }

    // The window's frame, caption and caption buttons come from the skin;
    // the window system draws no decoration of its own.
    bsSkinForm1 = new TbsSkinForm(this);
    bsSkinForm1->setObjectName(QStringLiteral("bsSkinForm1"));
    bsSkinForm1->MainForm = true;
    bsSkinForm1->SkinDialogs = true;
    bsSkinForm1->SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
    bsSkinForm1->DefCaptionFont.setPixelSize(15);
    bsSkinForm1->DefInActiveCaptionFont.setPixelSize(15);
    if (TbsSkinMenu* menus = bsSkinForm1->SkinMenuDriver()) {
        menus->DefaultItemHeight = 20;
        menus->MaxMenuItemsInWindow = 0;
    }
    bsSkinForm1->SetMenusSkinData(bsSkinData1);
    bsSkinForm1->SetSkinData(bsSkinData1);
}

}  // namespace rasp
