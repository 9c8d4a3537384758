#pragma once
// Captioned box that groups the controls of one article: a panel on the
// "groupbox" entry with its caption bar shown.

#include "skinctrls/TbsSkinPanel.h"

namespace rasp {

class TbsSkinGroupBox : public TbsSkinPanel {
    Q_OBJECT
public:
    explicit TbsSkinGroupBox(QWidget* parent = nullptr, const QString& caption = {});
};

}  // namespace rasp
