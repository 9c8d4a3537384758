#pragma once
// Captioned box that groups the controls of one article.

#include "skinctrls/TbsSkinBinding.h"

#include <QGroupBox>

namespace rasp {

class TbsSkinGroupBox : public QGroupBox, public TbsSkinBinding {
    Q_OBJECT
public:
    explicit TbsSkinGroupBox(QWidget* parent = nullptr, const QString& caption = {});
};

}  // namespace rasp
