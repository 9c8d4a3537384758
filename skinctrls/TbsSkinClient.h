#pragma once
// What every skinned control offers the skin-change relay: the skin data it
// draws from, forgetting its entry before the skin is replaced, and taking
// the new skin afterwards.

#include <QObject>

class QWidget;
class TbsSkinData;

namespace rasp {

class TbsSkinClient {
public:
    virtual ~TbsSkinClient() = default;
    virtual TbsSkinData* SkinData() const = 0;
    // Stores the reference and, when it holds a skin, applies it at once.
    virtual void SetSkinData(TbsSkinData* skinData) = 0;
    // Before the skin is replaced: nothing may draw from the old skin any more.
    virtual void ForgetSkinEntry() {}
    // After the skin is replaced: look the entry up again and redraw once.
    virtual void ApplySkin() = 0;
};

// Gives every skinned control under root (root included) the skin data.
void bsBindSkinData(QWidget* root, TbsSkinData* skinData);

// Passes SKN_BEFORECHANGE and SKN_CHANGE on to every skinned control of the
// form, depth-first through all child controls: each whose skin data is the
// sender (every one when the sender is null) forgets or applies its entry.
void bsRelaySkinMessage(QWidget* form, int message, TbsSkinData* sender);

// Relays the skin messages a form receives to its controls. A form without
// a skinned frame installs one on itself.
class TbsSkinMessageRelay : public QObject {
public:
    explicit TbsSkinMessageRelay(QWidget* form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace rasp
