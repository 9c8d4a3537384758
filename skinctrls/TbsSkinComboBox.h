#pragma once
// Drop-down list with a fixed set of items.

#include "skinctrls/TbsSkinBinding.h"

#include <QComboBox>

namespace rasp {

class TbsSkinComboBox : public QComboBox, public TbsSkinBinding {
    Q_OBJECT
public:
    explicit TbsSkinComboBox(QWidget* parent = nullptr);
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int index) { setCurrentIndex(index); }
};

}  // namespace rasp
