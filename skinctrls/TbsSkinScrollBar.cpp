#include "skinctrls/TbsSkinScrollBar.h"

#include "skin/bsSkinControls.h"
#include "skin/bsSkinData.h"
#include "skinctrls/bsSkinFont.h"
#include "skinctrls/bsSysColors.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace rasp {

namespace {
constexpr int ButtonSize = 17;
constexpr int DefaultThumb = 16;
constexpr int FirstDelayMs = 500;
constexpr int RepeatMs = 50;

bool Inside(const QImage* picture, const TbsRect& r)
{
    return picture && !r.IsEmpty() && r.Left >= 0 && r.Top >= 0 && r.Right <= picture->width() &&
           r.Bottom <= picture->height();
}

// Copies a picture part to (x, y); with a key colour its pixels stay unpainted.
void Blit(QImage& image, int x, int y, const QImage& picture, const TbsRect& src, bool keyed,
          QRgb key)
{
    for (int sy = src.Top; sy < src.Bottom; ++sy) {
        const int ty = y + sy - src.Top;
        if (ty < 0 || ty >= image.height())
            continue;
        const QRgb* in = reinterpret_cast<const QRgb*>(picture.constScanLine(sy));
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(ty));
        for (int sx = src.Left; sx < src.Right; ++sx) {
            const int tx = x + sx - src.Left;
            if (tx < 0 || tx >= image.width())
                continue;
            if (keyed && (in[sx] & 0xFFFFFF) == (key & 0xFFFFFF))
                continue;
            out[tx] = in[sx] | 0xFF000000u;
        }
    }
}
}  // namespace

TbsSkinScrollBar::TbsSkinScrollBar(Qt::Orientation kind, QWidget* parent)
    : TbsSkinCustomControl(parent, kind == Qt::Vertical ? QStringLiteral("vscrollbar")
                                                        : QStringLiteral("hscrollbar")),
      FKind(kind)
{
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    if (Vertical()) {
        resize(19, 200);
        SetDefaultWidth(19);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    } else {
        resize(200, 19);
        SetDefaultHeight(19);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
}

QSize TbsSkinScrollBar::sizeHint() const { return Vertical() ? QSize(width(), 100) : QSize(100, height()); }

void TbsSkinScrollBar::LoadSkinEntry()
{
    TbsSkinCustomControl::LoadSkinEntry();
    if (IsSkinned()) {
        // A vertical bar keeps the skin's width, a horizontal one its height.
        const int across = Vertical() ? Geometry().SkinRect.Width() : Geometry().SkinRect.Height();
        if (Vertical() && minimumWidth() != across)
            setFixedWidth(across);
        if (!Vertical() && minimumHeight() != across)
            setFixedHeight(across);
    }
}

const TbsDataSkinScrollBarControl* TbsSkinScrollBar::Entry() const
{
    if (!IsSkinned())
        return nullptr;
    return dynamic_cast<const TbsDataSkinScrollBarControl*>(SkinEntry());
}

void TbsSkinScrollBar::SetCanFocused(bool on)
{
    FCanFocused = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
}

void TbsSkinScrollBar::SetPosition(int v)
{
    v = bsScrollClamp(FRange, v);
    if (v == FPosition)
        return;
    FPosition = v;
    update();
    emit Change();
}

void TbsSkinScrollBar::SetRange(int min, int max, int pageSize, int position)
{
    FRange = {min, max, std::max(0, pageSize)};
    FPosition = bsScrollClamp(FRange, position);
    update();
}

void TbsSkinScrollBar::SetMax(int v)
{
    FRange.Max = v;
    if (FRange.PageSize > 0) {
        if ((long long)v - FRange.Min < (long long)FRange.PageSize + FPosition)
            FPosition = std::max(FRange.Min, int((long long)v - FRange.Min - FRange.PageSize + 1));
    } else if (FPosition > v) {
        FPosition = v;
    }
    update();
}

void TbsSkinScrollBar::SetMin(int v)
{
    FRange.Min = v;
    if (FPosition < v)
        FPosition = v;
    update();
}

void TbsSkinScrollBar::SetPageSize(int v)
{
    if (v < 0 || (long long)FRange.Max - FRange.Min + 1 < (long long)v + FPosition)
        return;
    FRange.PageSize = v;
    update();
}

// ---- geometry ----

QRect TbsSkinScrollBar::TrackRect() const
{
    if (const auto* e = Entry()) {
        QRect t = bsQRect(e->trackarea);
        if (Vertical())
            t.setBottom(t.bottom() + height() - Geometry().SkinRect.Height());
        else
            t.setRight(t.right() + width() - Geometry().SkinRect.Width());
        return t;
    }
    if (Vertical())
        return QRect(1, ButtonSize, width() - 2, height() - 2 * ButtonSize);
    return QRect(ButtonSize, 1, width() - 2 * ButtonSize, height() - 2);
}

QRect TbsSkinScrollBar::UpButtonRect() const
{
    if (const auto* e = Entry()) {
        QRect r = bsQRect(e->upbuttonrect);
        if (Vertical() && e->upbuttonrect.Top >= Geometry().LeftBottom.Y)
            r.translate(0, height() - Geometry().SkinRect.Height());
        if (!Vertical() && e->upbuttonrect.Left >= Geometry().RightTop.X)
            r.translate(width() - Geometry().SkinRect.Width(), 0);
        return r;
    }
    if (Vertical())
        return QRect(1, height() - ButtonSize, width() - 2, ButtonSize - 1);
    return QRect(width() - ButtonSize, 1, ButtonSize - 1, height() - 2);
}

QRect TbsSkinScrollBar::DownButtonRect() const
{
    if (const auto* e = Entry()) {
        QRect r = bsQRect(e->downbuttonrect);
        if (Vertical() && e->downbuttonrect.Top >= Geometry().LeftBottom.Y)
            r.translate(0, height() - Geometry().SkinRect.Height());
        if (!Vertical() && e->downbuttonrect.Left >= Geometry().RightTop.X)
            r.translate(width() - Geometry().SkinRect.Width(), 0);
        return r;
    }
    if (Vertical())
        return QRect(1, 1, width() - 2, ButtonSize - 1);
    return QRect(1, 1, ButtonSize - 1, height() - 2);
}

int TbsSkinScrollBar::MinThumbLength() const
{
    if (const auto* e = Entry()) {
        const int len = Vertical() ? e->thumbrect.Height() : e->thumbrect.Width();
        if (len > 0)
            return len;
    }
    return DefaultThumb;
}

int TbsSkinScrollBar::TrackStart() const { return Vertical() ? TrackRect().top() : TrackRect().left(); }
int TbsSkinScrollBar::TrackLength() const
{
    return std::max(0, Vertical() ? TrackRect().height() : TrackRect().width());
}

QRect TbsSkinScrollBar::ThumbRect() const
{
    const QRect track = TrackRect();
    const int len = bsThumbLength(FRange, TrackLength(), MinThumbLength());
    const int off = bsThumbOffset(FRange, FPosition, TrackLength(), len, !Vertical());
    int across = Vertical() ? track.width() : track.height();
    if (const auto* e = Entry())
        across = Vertical() ? e->thumbrect.Width() : e->thumbrect.Height();
    if (Vertical())
        return QRect(track.left() + (track.width() - across) / 2, track.top() + off, across, len);
    return QRect(track.left() + off, track.top() + (track.height() - across) / 2, len, across);
}

TbsSkinScrollBar::TPart TbsSkinScrollBar::PartAt(const QPoint& p) const
{
    if (UpButtonRect().contains(p))
        return ptUp;
    if (DownButtonRect().contains(p))
        return ptDown;
    if (!isEnabled())
        return ptNone;
    const QRect thumb = ThumbRect();
    if (thumb.contains(p))
        return ptThumb;
    if (TrackRect().contains(p))
        return Along(p) < (Vertical() ? thumb.top() : thumb.left()) ? ptTrackBefore : ptTrackAfter;
    return ptNone;
}

// ---- painting ----

void TbsSkinScrollBar::DrawPartDefault(QImage& image, const QRect& r, TPart part) const
{
    QPainter p(&image);
    const bool down = (FPressed == part && FPressedOver) ||
                      (part == ptThumb && (FPressed == ptThumb || (FCanFocused && hasFocus())));
    const bool hot = FHover == part && (FPressed == ptNone || FPressed == part);
    p.setPen(down || hot ? QColor(0, 0, 128) : clBtnShadow());
    p.setBrush(down ? QColor(133, 147, 181) : hot ? QColor(182, 189, 210) : clBtnFace());
    p.drawRect(r.adjusted(0, 0, -1, -1));
    if (part == ptThumb)
        return;
    // A black arrow of four rows, 1, 3, 5 and 7 pixels wide.
    const QPoint c = r.center();
    const bool increasing = part == ptUp;
    p.setPen(isEnabled() ? Qt::black : clBtnShadow());
    for (int i = 0; i < 4; ++i) {
        const int row = increasing ? i : 3 - i;
        if (Vertical())
            p.drawLine(c.x() - row, c.y() - 2 + i, c.x() + row, c.y() - 2 + i);
        else
            p.drawLine(c.x() - 2 + i, c.y() - row, c.x() - 2 + i, c.y() + row);
    }
}

void TbsSkinScrollBar::DrawDefaultImage(QImage& image)
{
    image.fill(clBtnFace());
    DrawPartDefault(image, DownButtonRect(), ptDown);
    DrawPartDefault(image, UpButtonRect(), ptUp);
    if (isEnabled())
        DrawPartDefault(image, ThumbRect(), ptThumb);
}

void TbsSkinScrollBar::DrawThumbSkin(QImage& image, const TbsDataSkinScrollBarControl& e) const
{
    const QImage* picture = Picture();
    TbsRect src = e.thumbrect;
    TbsRect glyph = e.glyphrect;
    const bool down = FPressed == ptThumb || (FCanFocused && hasFocus());
    const bool hot = FHover == ptThumb && FPressed == ptNone;
    auto pick = [&](const TbsRect& r, const TbsRect& fallback) { return Inside(picture, r) ? r : fallback; };
    const TbsRect active = pick(e.activethumbrect, e.thumbrect);
    const TbsRect activeGlyph = pick(e.activeglyphrect, e.glyphrect);
    if (down) {
        src = pick(e.downthumbrect, active);
        glyph = pick(e.downglyphrect, activeGlyph);
    } else if (hot) {
        src = active;
        glyph = activeGlyph;
    }
    if (!Inside(picture, src))
        return;
    const QRect t = ThumbRect();
    const bool keyed = e.thumbtransparent;
    const QRgb key = bsColor(e.thumbtransparentcolor).rgb();
    const int srcLen = Vertical() ? src.Height() : src.Width();
    const int len = Vertical() ? t.height() : t.width();
    if (FRange.PageSize <= 0 || len == srcLen) {
        Blit(image, t.left(), t.top(), *picture, src, keyed, key);
    } else {
        // Three pieces along the length: both ends as they are, the middle repeated.
        const int a = std::clamp(e.thumboffset1, 0, srcLen);
        const int b = std::clamp(e.thumboffset2, 0, srcLen - a);
        auto part = [&](int from, int to) {
            return Vertical() ? TbsRect{src.Left, src.Top + from, src.Right, src.Top + to}
                              : TbsRect{src.Left + from, src.Top, src.Left + to, src.Bottom};
        };
        auto at = [&](int along) { return Vertical() ? QPoint(t.left(), t.top() + along) : QPoint(t.left() + along, t.top()); };
        const TbsRect middle = part(a, srcLen - b);
        const int middleLen = std::max(1, srcLen - a - b);
        const int endStart = std::max(a, len - b);
        for (int pos = a; pos < endStart; pos += middleLen) {
            TbsRect m = middle.IsEmpty() ? part(a, std::min(a + 1, srcLen)) : middle;
            const int cut = std::min(middleLen, endStart - pos);
            if (Vertical())
                m.Bottom = m.Top + cut;
            else
                m.Right = m.Left + cut;
            const QPoint q = at(pos);
            Blit(image, q.x(), q.y(), *picture, m, keyed, key);
        }
        const QPoint head = at(0);
        Blit(image, head.x(), head.y(), *picture, part(0, a), keyed, key);
        const QPoint tail = at(endStart);
        Blit(image, tail.x(), tail.y(), *picture, part(srcLen - b, srcLen), keyed, key);
    }
    if (Inside(picture, glyph)) {
        const QPoint c = t.center();
        Blit(image, c.x() - glyph.Width() / 2 + 1, c.y() - glyph.Height() / 2 + 1, *picture, glyph, keyed, key);
    }
}

void TbsSkinScrollBar::DrawSkinImage(QImage& image)
{
    image.fill(clBtnFace());
    BuildPieceImage(image, Picture(), Geometry().SkinRect);
    const auto* e = Entry();
    if (!e)
        return;
    const QImage* picture = Picture();
    auto button = [&](TPart part, const QRect& at, const TbsRect& active, const TbsRect& down) {
        TbsRect src;
        if (FPressed == part && FPressedOver)
            src = Inside(picture, down) ? down : active;
        else if (FHover == part && (FPressed == ptNone || FPressed == part))
            src = active;
        if (Inside(picture, src))
            Blit(image, at.left(), at.top(), *picture, src, false, 0);
    };
    button(ptUp, UpButtonRect(), e->activeupbuttonrect, e->downupbuttonrect);
    button(ptDown, DownButtonRect(), e->activedownbuttonrect, e->downdownbuttonrect);
    if (isEnabled())
        DrawThumbSkin(image, *e);
}

// ---- mouse, keys, repetition ----

void TbsSkinScrollBar::StepUp()
{
    if (OnUpButtonClick)
        OnUpButtonClick();
    else
        SetPosition(FPosition + FSmallChange);
}

void TbsSkinScrollBar::StepDown()
{
    if (OnDownButtonClick)
        OnDownButtonClick();
    else
        SetPosition(FPosition - FSmallChange);
}

void TbsSkinScrollBar::SetHover(TPart part)
{
    if (part == FHover)
        return;
    FHover = part;
    update();
}

void TbsSkinScrollBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    if (FCanFocused && !hasFocus()) {
        setFocus(Qt::MouseFocusReason);
        if (!hasFocus())
            return;
    }
    const QPoint p = event->position().toPoint();
    FLastPointer = p;
    const TPart part = PartAt(p);
    FPressed = part;
    FPressedOver = true;
    switch (part) {
    case ptUp:
    case ptDown:
        FRepeat = part == ptUp ? rpIncrease : rpDecrease;
        update();
        part == ptUp ? StepUp() : StepDown();
        break;
    case ptThumb:
        FPressCoord = Along(p);
        FOffsetAtPress = (Vertical() ? ThumbRect().top() : ThumbRect().left()) - TrackStart();
        FRepeat = rpNone;
        update();
        return;
    case ptTrackBefore:
        FRepeat = rpPageUp;
        SetPosition(FPosition - FLargeChange);
        emit PageUp();
        break;
    case ptTrackAfter:
        FRepeat = rpPageDown;
        SetPosition(FPosition + FLargeChange);
        emit PageDown();
        break;
    case ptNone:
        FPressed = ptNone;
        return;
    }
    FFirstDelay = true;
    FTimer.start(FirstDelayMs, this);
}

void TbsSkinScrollBar::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    FLastPointer = p;
    if (FPressed == ptThumb) {
        const int len = bsThumbLength(FRange, TrackLength(), MinThumbLength());
        SetPosition(bsThumbPosition(FRange, Along(p) - FPressCoord, FOffsetAtPress, TrackLength(), len));
        return;
    }
    if (FPressed == ptUp || FPressed == ptDown) {
        const bool over = (FPressed == ptUp ? UpButtonRect() : DownButtonRect()).contains(p);
        if (over != FPressedOver) {
            FPressedOver = over;
            if (over) {
                FFirstDelay = false;
                FTimer.start(RepeatMs, this);
            } else {
                FTimer.stop();
            }
            update();
        }
        return;
    }
    if (FPressed == ptNone)
        SetHover(PartAt(p));
}

void TbsSkinScrollBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool dragged = FPressed == ptThumb;
    FTimer.stop();
    FRepeat = rpNone;
    FPressed = ptNone;
    FPressedOver = false;
    SetHover(PartAt(event->position().toPoint()));
    update();
    if (dragged)
        emit LastChange();
}

void TbsSkinScrollBar::leaveEvent(QEvent* event)
{
    TbsSkinCustomControl::leaveEvent(event);
    // A page-down repeat stops when the pointer leaves; a page-up one goes on
    // until the thumb passes the last place the pointer was seen.
    if (FRepeat == rpPageDown)
        FTimer.stop();
    SetHover(ptNone);
}

void TbsSkinScrollBar::RepeatStep()
{
    const QRect thumb = ThumbRect();
    switch (FRepeat) {
    case rpIncrease: StepUp(); break;
    case rpDecrease: StepDown(); break;
    case rpPageUp:
        if (Along(FLastPointer) < (Vertical() ? thumb.top() : thumb.left())) {
            SetPosition(FPosition - FLargeChange);
            emit PageUp();
        } else {
            FTimer.stop();
        }
        break;
    case rpPageDown:
        if (Along(FLastPointer) > (Vertical() ? thumb.bottom() : thumb.right())) {
            SetPosition(FPosition + FLargeChange);
            emit PageDown();
        } else {
            FTimer.stop();
        }
        break;
    case rpNone: FTimer.stop(); break;
    }
}

void TbsSkinScrollBar::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != FTimer.timerId())
        return TbsSkinCustomControl::timerEvent(event);
    if (FFirstDelay) {
        FFirstDelay = false;
        FTimer.start(RepeatMs, this);
        if (FRepeat == rpPageUp || FRepeat == rpPageDown)
            RepeatStep();
        return;
    }
    RepeatStep();
}

void TbsSkinScrollBar::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up: SetPosition(FPosition - FSmallChange); return;
    case Qt::Key_Right:
    case Qt::Key_Down: SetPosition(FPosition + FSmallChange); return;
    default: TbsSkinCustomControl::keyPressEvent(event);
    }
}

void TbsSkinScrollBar::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (!FCanFocused || delta == 0)
        return event->ignore();
    SetPosition(FPosition + (delta < 0 ? FSmallChange : -FSmallChange));
    event->accept();
}

void TbsSkinScrollBar::changeEvent(QEvent* event)
{
    TbsSkinCustomControl::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            FTimer.stop();
            FPressed = ptNone;
            FRepeat = rpNone;
        }
        update();
    }
}

}  // namespace rasp
