#pragma once
// Clickable label that opens its URL in the browser: always underlined, in
// the entry's active colour while the pointer is over it.

#include "skinctrls/TbsSkinStdLabel.h"

#include <functional>

namespace rasp {

class TbsSkinLinkLabel : public TbsSkinStdLabel {
    Q_OBJECT
public:
    explicit TbsSkinLinkLabel(QWidget* parent = nullptr, const QString& caption = {});

    void SetCaption(const QString& caption);
    const QString& URL() const { return FURL; }
    void SetURL(const QString& url) { FURL = url; }
    QColor DefaultActiveFontColor() const { return FDefaultActiveFontColor; }
    void SetDefaultActiveFontColor(const QColor& c);
    // Keeps the label's right edge in place when the caption changes.
    void SetRightJustify(bool on) { FRightJustify = on; }
    // Opens a URL, also an empty one; by default the desktop's browser. The
    // window passes its browser launcher, tests a recorder.
    void SetOpener(std::function<void(const QString&)> opener) { FOpener = std::move(opener); }
    bool MouseIn() const { return FMouseIn; }

    // The skin never changes a link's size.
    void ApplySkin() override;

signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    QColor SkinColor(const TbsDataSkinStdLabelControl& entry) const override;
    QColor PlainColor() const override;

private:
    QString FURL;
    QColor FDefaultActiveFontColor = QColor(0, 0, 0xFF);
    bool FRightJustify = false;
    bool FMouseIn = false;
    std::function<void(const QString&)> FOpener;
};

}  // namespace rasp
