#include "skinctrls/TbsSkinComboBox.h"

#include "skin/bsSkinControls.h"
#include "skinctrls/TbsPopupListBox.h"
#include "skinctrls/TbsSkinEdit.h"
#include "skinctrls/TbsSkinLook.h"
#include "skinctrls/bsSkinFont.h"
#include "skinctrls/bsSysColors.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QScopedValueRollback>
#include <QWheelEvent>
#include <algorithm>

namespace rasp {

namespace {
constexpr int AutoScrollMs = 25;
constexpr int TypeAheadMs = 500;
}  // namespace

TbsSkinComboBox::TbsSkinComboBox(QWidget* parent)
    : TbsSkinCustomControl(parent, QStringLiteral("combobox"))
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(14);
    setFont(f);
    SetDefaultFont(f);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    resize(120, 20);
    FList = new TbsPopupListBox(this);
    FList->hide();
}

TbsSkinComboBox::~TbsSkinComboBox()
{
    qApp->removeEventFilter(this);
}

const QStringList& TbsSkinComboBox::Items() const { return FList->Items; }

void TbsSkinComboBox::SetItems(const QStringList& items)
{
    FList->Items = items;
    if (FList->ItemIndex() >= int(items.size()))
        FList->SetItemIndex(-1);
    if (FList->Sorted)
        FList->SortItems(&FSavedIndex);
    update();
}

void TbsSkinComboBox::addItems(const QStringList& items) { SetItems(FList->Items + items); }

bool TbsSkinComboBox::Sorted() const { return FList->Sorted; }

void TbsSkinComboBox::SetSorted(bool on)
{
    FList->Sorted = on;
    if (on)
        FList->SortItems(&FSavedIndex);
    update();
}

const QList<QImage>& TbsSkinComboBox::Images() const { return FList->Images; }

void TbsSkinComboBox::SetImages(const QList<QImage>& images)
{
    FList->Images = images;
    FList->update();
    update();
}

int TbsSkinComboBox::ImageIndex() const { return FList->ImageIndex; }

void TbsSkinComboBox::SetImageIndex(int index)
{
    FList->ImageIndex = index;
    FList->update();
    update();
}

void TbsSkinComboBox::SetOnListBoxDrawItem(TbsDrawItemEvent draw)
{
    FList->OnDrawItem = std::move(draw);
    FList->update();
}

int TbsSkinComboBox::ItemIndex() const { return FList->ItemIndex(); }

void TbsSkinComboBox::SetItemIndex(int index)
{
    FList->SetItemIndex(index);
    if (!FList->Items.isEmpty() && FList->ItemIndex() != -1)
        SetText(FList->Items[FList->ItemIndex()]);
    FSavedIndex = FList->ItemIndex();
    update();
    emit Click();
}

void TbsSkinComboBox::SetText(const QString& text)
{
    if (text == FText)
        return;
    FText = text;
    if (FEdit && !FEditChanging)
        FEdit->setText(text);
    update();
    emit Change();
}

void TbsSkinComboBox::SetDropDownCount(int n)
{
    if (n >= 1)
        FDropDownCount = n;
}

void TbsSkinComboBox::SetStyle(TbsComboBoxStyle style)
{
    if (style == FStyle)
        return;
    FStyle = style;
    if (style == bscbEditStyle) {
        FEdit = new TbsSkinEdit(this);
        FEdit->SetSkinDataName(QString());  // drawn by the combo: transparent, no frame
        FEdit->setText(FText);
        FEdit->show();
        setFocusProxy(FEdit);
        connect(FEdit, &TbsSkinEdit::Change, this, [this] { EditTextChanged(); });
        FEdit->installEventFilter(this);
    } else if (FEdit) {
        setFocusProxy(nullptr);
        delete FEdit;
        FEdit = nullptr;
    }
    SkinGeometryChanged();
    update();
}

void TbsSkinComboBox::EditTextChanged()
{
    if (!FEdit)
        return;
    QScopedValueRollback guard(FEditChanging, true);
    const QString typed = FEdit->text();
    const int match = typed.isEmpty() ? -1 : FList->FindPrefix(typed, -1);
    if (match >= 0 && FAutoComplete)
        FList->SetItemIndex(match);
    SetText(typed);
}

const TbsDataSkinComboBox* TbsSkinComboBox::Entry() const
{
    return IsSkinned() ? dynamic_cast<const TbsDataSkinComboBox*>(SkinEntry()) : nullptr;
}

QString TbsSkinComboBox::ListName() const
{
    const auto* e = Entry();
    return e ? QString::fromStdString(e->listboxname) : QString();
}

void TbsSkinComboBox::ApplySkin()
{
    TbsSkinCustomControl::ApplySkin();
    FList->SetSkin(SkinData(), ListName());
    if (FEdit)
        FEdit->SetSkinData(SkinData());
}

void TbsSkinComboBox::ForgetSkinEntry()
{
    TbsSkinCustomControl::ForgetSkinEntry();
    FList->ForgetSkin();
}

QRect TbsSkinComboBox::ButtonRect() const
{
    if (const auto* e = Entry()) {
        QRect r = bsQRect(e->buttonrect);
        if (e->buttonrect.Left >= Geometry().RightTop.X)
            r.translate(width() - Geometry().SkinRect.Width(), 0);
        return r;
    }
    return QRect(QPoint(width() - 19, 2), QPoint(width() - 3, height() - 3));
}

QRect TbsSkinComboBox::ItemArea() const
{
    if (IsSkinned()) {
        QRect r = bsQRect(Geometry().ClientRect);
        r.setRight(r.right() + width() - Geometry().SkinRect.Width());
        return r;
    }
    return QRect(QPoint(2, 2), QPoint(ButtonRect().left() - 2, height() - 3));
}

void TbsSkinComboBox::SkinGeometryChanged()
{
    if (!FEdit)
        return;
    const QRect area = ItemArea();
    const int line = FEdit->fontMetrics().height() + 2;
    FEdit->setGeometry(area.left(), area.top() + (area.height() - line) / 2, area.width(), line);
}

void TbsSkinComboBox::DrawItem(QImage& image, const QFont& font, const QColor& color, const QRect& textRect) const
{
    if (FEdit)
        return;
    const int shown = DroppedDown() ? FSavedIndex : ItemIndex();
    if (shown < 0 || shown >= count())
        return;
    QPainter p(&image);
    p.setFont(font);
    p.setPen(color);
    p.setClipRect(textRect);
    if (OnComboBoxDrawItem) {
        OnComboBoxDrawItem(p, shown, hasFocus() ? odFocused : 0, textRect);
        return;
    }
    bsDrawImageAndText(p, textRect, bsItemImage(Images(), ImageIndex(), shown), Items()[shown]);
}

void TbsSkinComboBox::DrawSkinImage(QImage& image)
{
    image.fill(clBtnFace());
    BuildPieceImage(image, Picture(), Geometry().SkinRect);
    const auto* e = Entry();
    if (!e)
        return;
    const QImage* picture = Picture();
    auto inPicture = [picture](const TbsRect& r) {
        return picture && !r.IsEmpty() && r.Left >= 0 && r.Top >= 0 && r.Right <= picture->width() &&
               r.Bottom <= picture->height();
    };
    QPainter p(&image);
    const QRect area = ItemArea();
    const TbsRect item = hasFocus() && inPicture(e->focusitemrect) ? e->focusitemrect : e->itemrect;
    if (inPicture(item))
        p.drawImage(area.topLeft(), bsHorizontalPieces(picture, item, e->itemleftoffset, e->itemrightoffset, area.width()));
    TbsRect button;
    if (!isEnabled())
        button = e->unenabledbuttonrect;
    else if (FButtonPressed && FButtonHot)
        button = e->downbuttonrect;
    else if (FButtonHot)
        button = e->activebuttonrect;
    if (inPicture(button))
        p.drawImage(ButtonRect().topLeft(), picture->copy(bsQRect(button)));
    p.end();
    QRect text = area;
    if (!e->itemtextrect.IsEmpty()) {
        text = bsQRect(e->itemtextrect).translated(area.topLeft());
        text.setRight(text.right() + area.width() - std::max(e->itemrect.Width(), 0));
        if (e->itemrect.IsEmpty())
            text = area;
    }
    DrawItem(image, ControlFont(e), bsColor(hasFocus() ? e->focusfontcolor : e->fontcolor), text);
}

void TbsSkinComboBox::DrawDefaultImage(QImage& image)
{
    image.fill(clBtnFace());
    const QPalette pal = QGuiApplication::palette();
    QPainter p(&image);
    p.setPen(clBtnShadow());
    p.setBrush(pal.color(QPalette::Base));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect area = ItemArea();
    p.fillRect(area, hasFocus() ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
    const QRect b = ButtonRect();
    p.setPen(FButtonPressed && FButtonHot ? QColor(0, 0, 128) : clBtnShadow());
    p.setBrush(FButtonPressed && FButtonHot ? QColor(133, 147, 181)
               : FButtonHot                 ? QColor(182, 189, 210)
                                            : clBtnFace());
    p.drawRect(b.adjusted(0, 0, -1, -1));
    p.setPen(isEnabled() ? Qt::black : clBtnShadow());
    const QPoint c = b.center();
    for (int i = 0; i < 4; ++i)
        p.drawLine(c.x() - 3 + i, c.y() - 1 + i, c.x() + 3 - i, c.y() - 1 + i);
    p.end();
    DrawItem(image, DefaultFont(), hasFocus() ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text), area);
}

bool TbsSkinComboBox::DroppedDown() const { return FList->isVisible(); }

void TbsSkinComboBox::DropDown()
{
    if (FList->Items.isEmpty() || DroppedDown())
        return;
    FEnteredList = false;
    FAutoScroll = 0;
    FScrollTimer.stop();
    emit DropDownEvent();
    FList->SetSkin(SkinData(), ListName());
    const int rows = std::min(count(), FDropDownCount);
    FList->SetRows(rows);
    const int w = FListBoxWidth > 0 ? FListBoxWidth : width();
    const int h = FList->HeightForRows(rows);
    QPoint at = mapToGlobal(QPoint(0, height()));
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect work = screen ? screen->availableGeometry() : QRect();
    if (work.isValid() && at.y() + h > work.bottom() + 1)
        at = mapToGlobal(QPoint(0, -h));
    if (FEdit)
        FEdit->setFocus();
    FSavedIndex = ItemIndex();
    if (FSavedIndex == 0 && count() > 1) {
        FList->SetItemIndex(1);
        FList->SetItemIndex(0);
    }
    FList->SetItemIndex(FList->ItemIndex());
    FList->setGeometry(at.x(), at.y(), w, h);
    FFadeTimer.stop();
    if (AlphaBlendAnimation) {
        FList->setWindowOpacity(0.0);
        FFadeTimer.start(1, this);
    } else {
        FList->setWindowOpacity(AlphaBlend ? std::clamp(AlphaBlendValue, 0, 255) / 255.0 : 1.0);
    }
    FList->show();
    FList->raise();
    // A press anywhere else closes the list without a change.
    qApp->installEventFilter(this);
    update();
}

void TbsSkinComboBox::CloseUp(bool accept)
{
    FScrollTimer.stop();
    FAutoScroll = 0;
    if (!DroppedDown()) {
        update();
        return;
    }
    qApp->removeEventFilter(this);
    FFadeTimer.stop();
    FList->hide();
    if (FList->ItemIndex() < 0)
        FList->SetItemIndex(FSavedIndex);
    const int index = FList->ItemIndex();
    if (accept && index >= 0 && index < count()) {
        if (FEdit) {
            FEdit->setText(Items()[index]);
            FEdit->selectAll();
        } else {
            SetText(Items()[index]);
        }
        FSavedIndex = index;
        emit Click();
    } else if (!accept) {
        FList->SetItemIndex(FSavedIndex);
    }
    update();
    if (accept)
        emit CloseUpEvent();
}

void TbsSkinComboBox::Select(int index)
{
    if (index < 0 || index >= count() || index == ItemIndex())
        return;
    SetItemIndex(index);
}

void TbsSkinComboBox::StopDrag()
{
    FDragSelect = false;
    FScrollTimer.stop();
    FAutoScroll = 0;
    if (mouseGrabber() == this)
        releaseMouse();
}

void TbsSkinComboBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    setFocus(Qt::MouseFocusReason);
    const QPoint p = event->position().toPoint();
    if (!ButtonRect().contains(p) && !ItemArea().contains(p))
        return;
    FButtonPressed = true;
    FButtonHot = ButtonRect().contains(p);
    if (DroppedDown()) {
        CloseUp(false);
    } else {
        DropDown();
        if (DroppedDown()) {
            FDragSelect = true;
            grabMouse();
        }
    }
    update();
}

void TbsSkinComboBox::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const bool hot = ButtonRect().contains(p);
    if (hot != FButtonHot) {
        FButtonHot = hot;
        update();
    }
    if (!FDragSelect || !DroppedDown())
        return;
    const QPoint inList = FList->mapFromGlobal(event->globalPosition().toPoint());
    if (FList->rect().contains(inList)) {
        FEnteredList = true;
        FAutoScroll = 0;
        FScrollTimer.stop();
        const int i = FList->ItemAt(inList);
        if (i >= 0)
            FList->SetItemIndex(i);
    } else if (FEnteredList) {
        // Beyond the list's top or bottom the selection travels on by itself.
        const int direction = inList.y() < 0 ? -1 : inList.y() >= FList->height() ? 1 : 0;
        if (direction != FAutoScroll) {
            FAutoScroll = direction;
            if (direction)
                FScrollTimer.start(AutoScrollMs, this);
            else
                FScrollTimer.stop();
        }
    }
}

void TbsSkinComboBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    FButtonPressed = false;
    if (FDragSelect) {
        const bool entered = FEnteredList;
        StopDrag();
        if (entered) {
            const QPoint inList = FList->mapFromGlobal(event->globalPosition().toPoint());
            CloseUp(FList->rect().contains(inList));
        }
    }
    update();
}

void TbsSkinComboBox::ListPressed(const QPoint& globalPos)
{
    const int i = FList->ItemAt(FList->mapFromGlobal(globalPos));
    if (i >= 0)
        FList->SetItemIndex(i);
    FDragSelect = true;
    FEnteredList = true;
    grabMouse();
}

void TbsSkinComboBox::ListReleased(const QPoint& globalPos)
{
    StopDrag();
    CloseUp(FList->rect().contains(FList->mapFromGlobal(globalPos)));
}

void TbsSkinComboBox::leaveEvent(QEvent* event)
{
    TbsSkinCustomControl::leaveEvent(event);
    if (FButtonHot) {
        FButtonHot = false;
        update();
    }
}

void TbsSkinComboBox::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == FFadeTimer.timerId()) {
        const double target = AlphaBlend ? std::clamp(AlphaBlendValue, 0, 255) / 255.0 : 1.0;
        const double next = std::min(target, FList->windowOpacity() + 2 / 255.0);
        FList->setWindowOpacity(next);
        if (next >= target)
            FFadeTimer.stop();
        return;
    }
    if (event->timerId() != FScrollTimer.timerId())
        return TbsSkinCustomControl::timerEvent(event);
    const int next = std::clamp(FList->ItemIndex() + FAutoScroll, 0, count() - 1);
    FList->SetItemIndex(next);
}

void TbsSkinComboBox::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    event->accept();
    if (FEdit || delta == 0)
        return;
    const int step = delta < 0 ? 1 : -1;
    if (DroppedDown()) {
        FList->SetItemIndex(std::clamp(FList->ItemIndex() + step, 0, count() - 1));
        return;
    }
    Select(ItemIndex() + step);
}

void TbsSkinComboBox::TypeAhead(const QString& key)
{
    if (FAutoComplete && FLastKey.isValid() && FLastKey.elapsed() < TypeAheadMs)
        FTyped += key;
    else
        FTyped = key;
    FLastKey.start();
    const int found = FTyped.size() == 1 ? FList->FindPrefix(FTyped, ItemIndex()) : FList->FindPrefix(FTyped, -1);
    if (found >= 0)
        SetItemIndex(found);
}

void TbsSkinComboBox::keyPressEvent(QKeyEvent* event)
{
    const bool alt = event->modifiers() & Qt::AltModifier;
    const int here = DroppedDown() ? FList->ItemIndex() : ItemIndex();
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        if (alt)
            CloseUp(false);
        else if (here > 0)
            SetItemIndex(here - 1);
        return;
    case Qt::Key_Down:
    case Qt::Key_Right:
        if (alt) {
            DropDown();
        } else if (here < count() - 1) {
            SetItemIndex(here + 1);
        }
        return;
    case Qt::Key_PageUp:
        if (count() > 0)
            SetItemIndex(std::max(0, here - (FDropDownCount + 1)));
        return;
    case Qt::Key_PageDown:
        if (count() > 0)
            SetItemIndex(std::min(count() - 1, here + FDropDownCount - 1));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (DroppedDown())
            CloseUp(true);
        else
            event->ignore();
        return;
    case Qt::Key_Escape:
        if (DroppedDown())
            CloseUp(false);
        else
            event->ignore();
        return;
    default: break;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && !(event->modifiers() & Qt::ControlModifier)) {
        TypeAhead(typed);
        return;
    }
    TbsSkinCustomControl::keyPressEvent(event);
}

void TbsSkinComboBox::focusInEvent(QFocusEvent* event)
{
    TbsSkinCustomControl::focusInEvent(event);
    update();
}

void TbsSkinComboBox::focusOutEvent(QFocusEvent* event)
{
    TbsSkinCustomControl::focusOutEvent(event);
    // A press in the list never takes the focus; anything else that does closes it.
    if (DroppedDown() && event->reason() != Qt::PopupFocusReason)
        CloseUp(false);
    update();
}

bool TbsSkinComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress && DroppedDown()) {
        auto* w = qobject_cast<QWidget*>(watched);
        const bool ours = w && (w == this || w == FList || FList->isAncestorOf(w) || w == FEdit);
        if (!ours)
            CloseUp(false);
    }
    if (watched == FEdit && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down: {
            const int here = DroppedDown() ? FList->ItemIndex() : ItemIndex();
            const int next = here + (key->key() == Qt::Key_Up ? -1 : 1);
            if (next >= 0 && next < count()) {
                FList->SetItemIndex(next);
                FEdit->setText(Items()[next]);
                FEdit->selectAll();
                FSavedIndex = next;
                emit Click();
            }
            return true;
        }
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            if (DroppedDown()) {
                CloseUp(key->key() != Qt::Key_Escape);
                return true;
            }
            break;
        default: break;
        }
    }
    return TbsSkinCustomControl::eventFilter(watched, event);
}

}  // namespace rasp
