#pragma once
// Skins for the control tests, built in memory, and a form that relays the
// skin messages to its controls as the window does.

#include "skin/bsCompressedStoredSkin.h"
#include "skin/bsSkinContent.h"
#include "skin/bsSkinData.h"
#include "skin/bsSkinMessages.h"
#include "skin/bsSkinDescription.h"
#include "skin/bsSkinPackage.h"
#include "skin/bsZlib.h"
#include "skinctrls/TbsSkinClient.h"

#include <QWidget>

#include <memory>

// A picture whose every pixel tells its own position: red x, green y.
inline QImage PositionPicture(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x * 7 + y * 13) & 0xFF));
    return img;
}

// Loads a skin into the skin data through the stored-skin path.
inline void LoadSkin(TbsSkinData& data, TbsLoadedSkin& skin)
{
    TbsCompressedStoredSkin stored;
    stored.CompressedData = bsDeflate(bsWriteSkinPackage(bsMakeSkinPackage(skin)));
    data.LoadStoredSkin(stored);
}

// A form that owns the skin data and passes its messages on.
struct TSkinForm {
    TSkinForm()
    {
        Form = std::make_unique<QWidget>();
        Form->resize(400, 300);
        TbsFormList::Register(Form.get());
        Data = new TbsSkinData(Form.get());
        new rasp::TbsSkinMessageRelay(Form.get());
    }
    std::unique_ptr<QWidget> Form;
    TbsSkinData* Data;
};

// A skin with one picture (PositionPicture 200 × 100) and the given controls.
inline TbsLoadedSkin SkinWith(std::vector<std::unique_ptr<TbsDataSkinControl>> controls,
                              QImage picture = PositionPicture(200, 100))
{
    TbsLoadedSkin skin;
    skin.Content.SkinPictures.push_back(picture);
    skin.Content.SkinPictureNames.push_back("controls.bmp");
    skin.Content.SkinControls = std::move(controls);
    return skin;
}
