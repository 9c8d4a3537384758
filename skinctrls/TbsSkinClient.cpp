#include "skinctrls/TbsSkinClient.h"

#include "skin/bsSkinMessages.h"

#include <QPointer>
#include <QWidget>

namespace rasp {

void bsBindSkinData(QWidget* root, TbsSkinData* skinData)
{
    if (!root)
        return;
    if (auto* client = dynamic_cast<TbsSkinClient*>(root))
        client->SetSkinData(skinData);
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (auto* client = dynamic_cast<TbsSkinClient*>(w))
            client->SetSkinData(skinData);
    }
}

void bsRelaySkinMessage(QWidget* form, int message, TbsSkinData* sender)
{
    if (!form || (message != SKN_BEFORECHANGE && message != SKN_CHANGE))
        return;
    // A reaction may destroy controls; those are skipped.
    std::vector<QPointer<QWidget>> controls;
    for (QWidget* w : form->findChildren<QWidget*>())
        controls.emplace_back(w);
    for (const QPointer<QWidget>& w : controls) {
        if (!w)
            continue;
        auto* client = dynamic_cast<TbsSkinClient*>(w.data());
        if (!client || (sender && client->SkinData() != sender))
            continue;
        if (message == SKN_BEFORECHANGE)
            client->ForgetSkinEntry();
        else
            client->ApplySkin();
    }
}

TbsSkinMessageRelay::TbsSkinMessageRelay(QWidget* form) : QObject(form)
{
    form->installEventFilter(this);
}

bool TbsSkinMessageRelay::eventFilter(QObject* watched, QEvent* event)
{
    const int type = int(event->type());
    if ((type == SKN_BEFORECHANGE || type == SKN_CHANGE) && watched == parent()) {
        if (auto* m = dynamic_cast<TbsSkinMessageEvent*>(event))
            bsRelaySkinMessage(static_cast<QWidget*>(watched), m->Message(), m->WParam);
    }
    return false;
}

}  // namespace rasp
