#pragma once
// Scroll bar drawn from the "vscrollbar" (or "hscrollbar") entry: two arrow
// buttons, a track and a thumb, each with a normal, hovered and pressed look.
// It shows and drives a pane's scrolling from outside the pane.

#include "skinctrls/TbsSkinCustomControl.h"
#include "skinctrls/bsScrollGeometry.h"

#include <QBasicTimer>
#include <functional>

class TbsDataSkinScrollBarControl;

namespace rasp {

class TbsSkinScrollBar : public TbsSkinCustomControl {
    Q_OBJECT
public:
    explicit TbsSkinScrollBar(Qt::Orientation kind = Qt::Horizontal, QWidget* parent = nullptr);

    Qt::Orientation Kind() const { return FKind; }
    int Min() const { return FRange.Min; }
    int Max() const { return FRange.Max; }
    int PageSize() const { return FRange.PageSize; }
    int Position() const { return FPosition; }
    int SmallChange() const { return FSmallChange; }
    int LargeChange() const { return FLargeChange; }
    void SetSmallChange(int v) { FSmallChange = v; }
    void SetLargeChange(int v) { FLargeChange = v; }
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool on);

    // Clamped; Change fires when the position moves.
    void SetPosition(int v);
    // All four at once, the position clamped; no Change.
    void SetRange(int min, int max, int pageSize, int position);
    // None of these fires Change.
    void SetMin(int v);
    void SetMax(int v);
    // Ignored when the page would not fit the range at the present position.
    void SetPageSize(int v);

    // Replace the default step of the increasing (bottom/right) and the
    // decreasing (top/left) arrow.
    std::function<void()> OnUpButtonClick;
    std::function<void()> OnDownButtonClick;

    // Geometry at the present size, in control coordinates.
    QRect TrackRect() const;
    QRect UpButtonRect() const;    // the increasing one
    QRect DownButtonRect() const;  // the decreasing one
    QRect ThumbRect() const;
    int MinThumbLength() const;

    bool Dragging() const { return FPressed == ptThumb; }
    bool Repeating() const { return FTimer.isActive(); }

    QSize sizeHint() const override;
    void LoadSkinEntry() override;

signals:
    void Change();
    void PageUp();
    void PageDown();
    void LastChange();

protected:
    void DrawDefaultImage(QImage& image) override;
    void DrawSkinImage(QImage& image) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum TPart { ptNone, ptThumb, ptUp, ptDown, ptTrackBefore, ptTrackAfter };
    enum TRepeat { rpNone, rpDecrease, rpIncrease, rpPageUp, rpPageDown };

    const TbsDataSkinScrollBarControl* Entry() const;
    bool Vertical() const { return FKind == Qt::Vertical; }
    int Along(const QPoint& p) const { return Vertical() ? p.y() : p.x(); }
    int TrackStart() const;
    int TrackLength() const;
    TPart PartAt(const QPoint& p) const;
    void StepUp();
    void StepDown();
    void RepeatStep();
    void SetHover(TPart part);
    void DrawPartDefault(QImage& image, const QRect& r, TPart part) const;
    void DrawThumbSkin(QImage& image, const TbsDataSkinScrollBarControl& e) const;

    Qt::Orientation FKind;
    TbsScrollRange FRange;
    int FPosition = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
    bool FCanFocused = false;

    TPart FHover = ptNone;
    TPart FPressed = ptNone;
    bool FPressedOver = false;  // the pointer is over the pressed part
    int FPressCoord = 0;
    int FOffsetAtPress = 0;
    QPoint FLastPointer;
    TRepeat FRepeat = rpNone;
    bool FFirstDelay = false;
    QBasicTimer FTimer;
};

}  // namespace rasp
