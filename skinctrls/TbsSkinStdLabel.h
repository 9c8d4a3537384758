#pragma once
// Plain text label; sizes itself to its caption.

#include "skinctrls/TbsSkinBinding.h"

#include <QLabel>

namespace rasp {

class TbsSkinStdLabel : public QLabel, public TbsSkinBinding {
    Q_OBJECT
public:
    explicit TbsSkinStdLabel(QWidget* parent = nullptr, const QString& caption = {});
    void SetCaption(const QString& caption);
};

}  // namespace rasp
