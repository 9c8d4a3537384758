#pragma once
// Panel that frames an area of the window and holds other controls.

#include "skinctrls/TbsSkinBinding.h"

#include <QFrame>

namespace rasp {

enum TbsBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };

class TbsSkinPanel : public QFrame, public TbsSkinBinding {
    Q_OBJECT
public:
    explicit TbsSkinPanel(QWidget* parent = nullptr);
    TbsBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TbsBorderStyle style);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TbsBorderStyle FBorderStyle = bvFrame;
};

}  // namespace rasp
