#pragma once
// Clickable label that opens its URL in the browser.

#include "skinctrls/TbsSkinBinding.h"

#include <QLabel>
#include <functional>

namespace rasp {

class TbsSkinLinkLabel : public QLabel, public TbsSkinBinding {
    Q_OBJECT
public:
    explicit TbsSkinLinkLabel(QWidget* parent = nullptr, const QString& caption = {});

    void SetCaption(const QString& caption);
    const QString& URL() const { return FURL; }
    void SetURL(const QString& url) { FURL = url; }
    // Keeps the label's right edge in place when the caption changes.
    void SetRightJustify(bool on) { FRightJustify = on; }
    // Opens a URL; by default the desktop's browser. Tests replace it.
    void SetOpener(std::function<void(const QString&)> opener) { FOpener = std::move(opener); }

signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString FURL;
    bool FRightJustify = false;
    std::function<void(const QString&)> FOpener;
};

}  // namespace rasp
