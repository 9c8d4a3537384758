#include "skinctrls/TbsSkinSpinEdit.h"

#include "skinctrls/ExceptionSink.h"
#include "skinctrls/TbsSkinNumEdit.h"
#include "skinctrls/TbsSkinCustomControl.h"
#include "skinctrls/bsEditMenu.h"
#include "skinctrls/bsSkinFont.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QGuiApplication>

#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <cmath>

namespace rasp {

namespace {
constexpr int kFirstDelayMs = 500;
constexpr int kRepeatMs = 100;
constexpr int kResumeMs = 50;
}  // namespace

TbsSkinSpinEdit::TbsSkinSpinEdit(QWidget* parent)
    : QWidget(parent), TbsSkinBinding(QStringLiteral("spinedit"))
{
    FEditor = new TbsSkinNumEdit(this);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(14);
    FEditor->setFont(f);
    FDefaultFont = f;
    FEditor->installEventFilter(this);
    FEditor->OnStep = [this](int direction) { Step(direction); };
    setFocusProxy(FEditor);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    SetEditorText(QStringLiteral("0"));
    connect(FEditor, &QLineEdit::textChanged, this, [this] { EditorTextChanged(); });
    resize(120, 20);
    LayoutEditor();
}

TbsSkinSpinEdit::~TbsSkinSpinEdit() = default;

double TbsSkinSpinEdit::Clamp(double x) const
{
    if (FMinValue == 0 && FMaxValue == 0)
        return x;
    if (x < FMinValue)
        return FMinValue;
    if (x > FMaxValue)
        return FMaxValue;
    return x;
}

void TbsSkinSpinEdit::SetMinValue(double v)
{
    FMinValue = v;
    if (FValue < v)
        SetValue(v);
}

void TbsSkinSpinEdit::SetMaxValue(double v)
{
    FMaxValue = v;
    if (FValue > v)
        SetValue(v);
}

void TbsSkinSpinEdit::SetValueType(TValueType type)
{
    FValueType = type;
    FEditor->ValueType = type;
    if (type == vtInteger) {
        FIncrement = std::round(FIncrement);
        if (FIncrement == 0)
            FIncrement = 1;
    }
}

bool TbsSkinSpinEdit::EditorEnabled() const
{
    return FEditor->EditorEnabled;
}

void TbsSkinSpinEdit::SetEditorEnabled(bool on)
{
    FEditor->EditorEnabled = on;
    FEditor->setReadOnly(!on);
}

QString TbsSkinSpinEdit::Text() const
{
    return FEditor->text();
}

void TbsSkinSpinEdit::SetText(const QString& text)
{
    FEditor->setText(text);
}

void TbsSkinSpinEdit::SetEditorText(const QString& text)
{
    QScopedValueRollback guard(FSettingText, true);
    FEditor->setText(text);
}

void TbsSkinSpinEdit::FireChange()
{
    QScopedValueRollback guard(FInChange, true);
    emit Change();
}

void TbsSkinSpinEdit::SetValue(double x)
{
    FValue = Clamp(x);
    SetEditorText(FormatNumber(FValue, FValueType, FDecimal, DecimalSeparator()));
    if (!FInChange)
        FireChange();
}

void TbsSkinSpinEdit::EditorTextChanged()
{
    if (FSettingText || FInChange)
        return;
    const QString t = FEditor->text();
    const QChar sep = DecimalSeparator();
    if (!IsValidNumberText(t, FValueType, sep))
        return;
    double parsed = 0;
    bool pastConversion = false;
    try {
        parsed = ParseNumberText(t, FValueType, sep);
    } catch (const EConvertError&) {
        // Too large for the conversion: with bounds the text is held to
        // them like any other number past them; without, the value stays
        // and the text goes back to it when the field is left.
        if (FMinValue == 0 && FMaxValue == 0)
            return;
        parsed = t.trimmed().startsWith(QLatin1Char('-')) ? FMinValue : FMaxValue;
        pastConversion = true;
    }
    const double clamped = Clamp(parsed);
    if (clamped != parsed || pastConversion)
        SetEditorText(FormatNumber(clamped, FValueType, FDecimal, sep));
    if (clamped != FValue) {
        FValue = clamped;
        FireChange();
    }
}

void TbsSkinSpinEdit::ShowValue()
{
    const QString shown = FormatNumber(FValue, FValueType, FDecimal, DecimalSeparator());
    if (FEditor->text() != shown)
        SetEditorText(shown);
}

void TbsSkinSpinEdit::Step(int direction)
{
    SetValue(FValue + direction * FIncrement);
}

void TbsSkinSpinEdit::SetUseSkinSize(bool on)
{
    FUseSkinSize = on;
    Restyle();
    update();
}

void TbsSkinSpinEdit::SetSkinData(TbsSkinData* skinData)
{
    FLook.SetData(skinData);
    FButtonLook.SetData(skinData);
    if (skinData && !skinData->SkinEmpty)
        ApplySkin();
}

void TbsSkinSpinEdit::ApplySkin()
{
    Restyle();
    update();
}

bool TbsSkinSpinEdit::Hot() const { return FMouseIn || FEditor->hasFocus(); }

void TbsSkinSpinEdit::Restyle()
{
    if (FRestyling)
        return;
    QScopedValueRollback guard(FRestyling, true);
    FLook.LookUp(SkinDataName());
    FButtonLook.LookUp(QStringLiteral("resizebutton"));
    const auto* entry = FLook.EntryAs<TbsDataSkinSpinEditControl>();
    QPalette pal = FEditor->palette();
    if (entry) {
        FEditor->setFont(bsSkinFont(entry->fontname, entry->fontheight, entry->fontstyle));
        if (FUseSkinSize && height() != FLook.SkinHeight())
            resize(width(), FLook.SkinHeight());
        // Transparent over the skin's background.
        pal.setColor(QPalette::Base, Qt::transparent);
        QColor text = bsColor(entry->fontcolor);
        if (!isEnabled())
            text = bsColor(entry->disabledfontcolor);
        else if (Hot() && !FEditor->hasFocus() && entry->activefontcolor != entry->fontcolor)
            text = bsColor(entry->activefontcolor);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            pal.setColor(group, QPalette::Text, text);
    } else {
        FEditor->setFont(FDefaultFont);
        pal = QGuiApplication::palette();
    }
    FEditor->setPalette(pal);
    LayoutEditor();
}

QRect TbsSkinSpinEdit::SkinButtonRect(const TbsRect& r) const
{
    QRect q = bsQRect(r);
    if (r.Left >= FLook.Geometry().RightTop.X)
        q.translate(width() - FLook.SkinWidth(), 0);
    return q;
}

QRect TbsSkinSpinEdit::UpButtonRect() const
{
    if (const auto* e = FLook.EntryAs<TbsDataSkinSpinEditControl>()) {
        QRect r = SkinButtonRect(e->upbuttonrect);
        if (!FUseSkinSize) {
            // The two arrows share the grown height half and half.
            const int bottom = height() - (FLook.SkinHeight() - e->downbuttonrect.Bottom);
            r.setBottom(r.top() + (bottom - r.top()) / 2 - 1);
        }
        return r;
    }
    return QRect(QPoint(width() - 17, 2), QPoint(width() - 2, height() / 2)).adjusted(0, 0, -1, -1);
}

QRect TbsSkinSpinEdit::DownButtonRect() const
{
    if (const auto* e = FLook.EntryAs<TbsDataSkinSpinEditControl>()) {
        QRect r = SkinButtonRect(e->downbuttonrect);
        if (!FUseSkinSize) {
            const int top = e->upbuttonrect.Top;
            const int bottom = height() - (FLook.SkinHeight() - e->downbuttonrect.Bottom);
            r.setTop(top + (bottom - top) / 2);
            r.setBottom(bottom - 1);
        }
        return r;
    }
    return QRect(QPoint(width() - 17, height() / 2), QPoint(width() - 2, height() - 2)).adjusted(0, 0, -1, -1);
}

TbsSkinSpinEdit::TButton TbsSkinSpinEdit::ButtonAt(const QPoint& p) const
{
    if (UpButtonRect().contains(p))
        return sbUp;
    if (DownButtonRect().contains(p))
        return sbDown;
    return sbNone;
}

void TbsSkinSpinEdit::LayoutEditor()
{
    const int lineHeight = FEditor->fontMetrics().height();
    if (FLook.Skinned()) {
        QRect area = FLook.ClientRect(width(), height());
        if (!FUseSkinSize)
            area.setBottom(area.bottom() + height() - FLook.SkinHeight());
        FEditor->setGeometry(area.left(), area.top() + (area.height() - lineHeight) / 2, std::max(0, area.width()),
                             lineHeight);
        return;
    }
    FEditor->setGeometry(2, (height() - lineHeight) / 2, std::max(0, width() - 19), lineHeight);
}

void TbsSkinSpinEdit::resizeEvent(QResizeEvent*)
{
    if (FLook.Skinned() && !FRestyling)
        Restyle();
    else
        LayoutEditor();
}

void TbsSkinSpinEdit::enterEvent(QEnterEvent*)
{
    FMouseIn = true;
    if (FLook.Skinned())
        Restyle();
    update();
}

bool TbsSkinSpinEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FEditor) {
        switch (event->type()) {
        case QEvent::FocusOut:
            ShowValue();
            [[fallthrough]];
        case QEvent::FocusIn:
        case QEvent::Enter:
            if (event->type() == QEvent::Enter)
                FMouseIn = true;
            if (FLook.Skinned())
                Restyle();
            update();
            break;
        case QEvent::ContextMenu: {
            auto* menuEvent = static_cast<QContextMenuEvent*>(event);
            const QPoint at = menuEvent->reason() == QContextMenuEvent::Keyboard
                                  ? FEditor->mapToGlobal(FEditor->rect().center())
                                  : menuEvent->globalPos();
            bsPopupEditMenu(FEditor, at, EditorEnabled() ? 0 : 1);
            return true;
        }
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TbsSkinSpinEdit::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && FLook.Skinned() && !FRestyling)
        Restyle();
    else if (event->type() == QEvent::FontChange || event->type() == QEvent::EnabledChange)
        LayoutEditor();
    QWidget::changeEvent(event);
}

void TbsSkinSpinEdit::StepPressed()
{
    Step(FPressed == sbUp ? 1 : -1);
}

void TbsSkinSpinEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    const TButton b = ButtonAt(event->position().toPoint());
    if (b == sbNone)
        return;
    FPressed = b;
    FHot = b;
    FFirstDelay = true;
    FRepeat.start(kFirstDelayMs, this);
    FEditor->setFocus();
    update();
}

void TbsSkinSpinEdit::mouseMoveEvent(QMouseEvent* event)
{
    const TButton over = ButtonAt(event->position().toPoint());
    if (FPressed != sbNone) {
        // While one arrow is held, the other does not react to the pointer.
        const bool onPressed = over == FPressed;
        const bool wasOn = FHot == FPressed;
        if (wasOn && !onPressed)
            FRepeat.stop();
        else if (!wasOn && onPressed)
            FRepeat.start(kResumeMs, this);
        FHot = onPressed ? FPressed : sbNone;
    } else {
        FHot = over;
    }
    update();
}

void TbsSkinSpinEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || FPressed == sbNone)
        return;
    FRepeat.stop();
    const TButton pressed = FPressed;
    const bool over = ButtonAt(event->position().toPoint()) == pressed;
    if (over)
        StepPressed();
    FPressed = sbNone;
    FHot = over ? pressed : sbNone;
    update();
}

void TbsSkinSpinEdit::leaveEvent(QEvent*)
{
    FMouseIn = rect().contains(mapFromGlobal(QCursor::pos())) && FEditor->underMouse();
    if (FLook.Skinned())
        Restyle();
    if (FPressed == sbNone)
        FHot = sbNone;
    update();
}

void TbsSkinSpinEdit::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != FRepeat.timerId())
        return;
    if (FFirstDelay) {
        FFirstDelay = false;
        FRepeat.start(kRepeatMs, this);
        return;
    }
    StepPressed();
}

void TbsSkinSpinEdit::PaintArrow(QPainter& painter, const QRect& r, TButton button, const QColor& color,
                                 int shift) const
{
    // Four rows, 1, 3, 5 and 7 pixels wide.
    const int cx = r.center().x() + shift;
    const int top = r.center().y() - 1 + shift;
    painter.setPen(color);
    for (int row = 0; row < 4; ++row) {
        const int half = button == sbUp ? row : 3 - row;
        painter.drawLine(cx - half, top - 1 + row, cx + half, top - 1 + row);
    }
}

void TbsSkinSpinEdit::PaintResizeButton(QPainter& painter, TButton button) const
{
    const QRect r = button == sbUp ? UpButtonRect() : DownButtonRect();
    const auto* e = FButtonLook.EntryAs<TbsDataSkinButtonControl>();
    if (!e || r.width() <= 0 || r.height() <= 0) {
        PaintButton(painter, button);
        return;
    }
    const bool pressed = FPressed == button && FHot == button;
    const bool hot = FHot == button && FPressed == sbNone;
    TbsRect state = FButtonLook.Geometry().SkinRect;
    TbsColor color = e->fontcolor;
    if (!isEnabled()) {
        color = e->disabledfontcolor;
    } else if (pressed) {
        state = e->downskinrect;
        color = e->downfontcolor;
    } else if (hot) {
        state = e->activeskinrect;
        color = e->activefontcolor;
    }
    const QImage face = FButtonLook.Build(state, r.width(), r.height());
    if (!face.isNull())
        painter.drawImage(r, face);
    PaintArrow(painter, r, button, bsColor(color), pressed ? 2 : 0);
}

void TbsSkinSpinEdit::PaintButton(QPainter& painter, TButton button) const
{
    const QRect r = button == sbUp ? UpButtonRect() : DownButtonRect();
    const bool pressed = FPressed == button && FHot == button;
    const bool hot = FHot == button;
    if (pressed || hot) {
        painter.setPen(QColor(0, 0, 0x80));
        painter.setBrush(pressed ? QColor(133, 147, 181) : QColor(182, 189, 210));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    } else {
        painter.fillRect(r, palette().color(QPalette::Button));
    }
    // A black arrow of four rows, 1, 3, 5 and 7 pixels wide.
    const int cx = r.center().x() + (pressed ? 1 : 0);
    const int top = r.center().y() - 2 + (pressed ? 1 : 0);
    painter.setPen(isEnabled() ? Qt::black : palette().color(QPalette::Mid));
    for (int row = 0; row < 4; ++row) {
        const int half = button == sbUp ? row : 3 - row;
        painter.drawLine(cx - half, top + row, cx + half, top + row);
    }
}

void TbsSkinSpinEdit::PaintSkin(QPainter& painter) const
{
    const auto* e = FLook.EntryAs<TbsDataSkinSpinEditControl>();
    const TbsRect state = Hot() && e && FLook.InPicture(e->activeskinrect) ? e->activeskinrect : FLook.Geometry().SkinRect;
    if (!FUseSkinSize) {
        const QImage frame = FLook.Build(state, width(), FLook.SkinHeight());
        if (!frame.isNull())
            painter.drawImage(QRect(0, 0, width(), height()), frame);
        PaintResizeButton(painter, sbUp);
        PaintResizeButton(painter, sbDown);
        return;
    }
    painter.drawImage(0, 0, FLook.Build(state, width(), height()));
    if (!e)
        return;
    auto button = [&](TButton which, const QRect& at, const TbsRect& active, const TbsRect& down) {
        TbsRect src;
        if (FPressed == which && FHot == which)
            src = FLook.InPicture(down) ? down : active;
        else if (FHot == which && FPressed == sbNone)
            src = active;
        if (FLook.InPicture(src))
            painter.drawImage(at.topLeft(), FLook.Picture()->copy(bsQRect(src)));
    };
    button(sbUp, UpButtonRect(), e->activeupbuttonrect, e->downupbuttonrect);
    button(sbDown, DownButtonRect(), e->activedownbuttonrect, e->downdownbuttonrect);
}

void TbsSkinSpinEdit::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (FLook.Skinned()) {
        PaintSkin(painter);
        return;
    }
    painter.fillRect(rect(), palette().color(isEnabled() ? QPalette::Base : QPalette::Window));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Button));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
    PaintButton(painter, sbUp);
    PaintButton(painter, sbDown);
}

}  // namespace rasp
