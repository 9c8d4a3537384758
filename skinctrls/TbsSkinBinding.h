#pragma once
// The name of the skin entry a control takes its look from. Until the skin
// engine binds a control, the control shows its unskinned look.

#include <QString>

namespace rasp {

class TbsSkinBinding {
public:
    explicit TbsSkinBinding(QString skinDataName) : FSkinDataName(std::move(skinDataName)) {}
    const QString& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const QString& name) { FSkinDataName = name; }

private:
    QString FSkinDataName;
};

}  // namespace rasp
