#include "skinctrls/TbsPopupListBox.h"

#include "skinctrls/TbsSkinComboBox.h"
#include "skinctrls/TbsSkinCustomControl.h"
#include "skinctrls/TbsSkinScrollBar.h"
#include "skinctrls/bsSkinFont.h"
#include "skinctrls/bsSysColors.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <vector>

namespace rasp {

namespace {
constexpr int DefaultItemHeight = 20;
}

QImage bsItemImage(const QList<QImage>& images, int imageIndex, int item)
{
    const int i = imageIndex >= 0 ? imageIndex : item;
    return i >= 0 && i < images.size() ? images[i] : QImage();
}

void bsDrawImageAndText(QPainter& p, const QRect& r, const QImage& image, const QString& text)
{
    int x = r.left() + 2;
    if (!image.isNull()) {
        p.drawImage(x, r.top() + (r.height() - image.height()) / 2, image);
        x += image.width() + 2;
    }
    p.drawText(QRect(x, r.top(), std::max(0, r.right() + 1 - x), r.height()),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

void TbsPopupListBox::SortItems(int* other)
{
    const int n = int(Items.size());
    std::vector<int> order(std::size_t(n), 0);
    for (int i = 0; i < n; ++i)
        order[std::size_t(i)] = i;
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return QString::compare(Items[a], Items[b], Qt::CaseInsensitive) < 0;
    });
    QStringList sorted;
    sorted.reserve(n);
    std::vector<int> where(std::size_t(n), -1);
    for (int k = 0; k < n; ++k) {
        sorted.push_back(Items[order[std::size_t(k)]]);
        where[std::size_t(order[std::size_t(k)])] = k;
    }
    Items = sorted;
    auto follow = [&](int i) { return i >= 0 && i < n ? where[std::size_t(i)] : i; };
    if (other)
        *other = follow(*other);
    FItemIndex = follow(FItemIndex);
    SetTopIndex(FTopIndex);
    update();
}

// Placed by the combo box itself, under the box, as the skinned menu windows
// are: a window manager (XWayland's among them) would frame a managed window
// and put it where it likes.
TbsPopupListBox::TbsPopupListBox(TbsSkinComboBox* combo)
    : QWidget(combo, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                         Qt::WindowStaysOnTopHint | Qt::BypassWindowManagerHint),
      FCombo(combo)
{
    setObjectName(QStringLiteral("TbsPopupListBox"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    FBar = new TbsSkinScrollBar(Qt::Vertical, this);
    FBar->hide();
    connect(FBar, &TbsSkinScrollBar::Change, this, [this] {
        FTopIndex = FBar->Position();
        update();
    });
}

void TbsPopupListBox::SetSkin(TbsSkinData* data, const QString& listName)
{
    FLook.SetData(data);
    FListName = listName;
    FLook.LookUp(listName);
    FBar->SetSkinData(data);
    if (const auto* e = FLook.EntryAs<TbsDataSkinListBox>())
        FBar->SetSkinDataName(QString::fromStdString(e->vscrollbarname));
    FBar->ApplySkin();
    UpdateBar();
    update();
}

int TbsPopupListBox::ItemHeight() const
{
    if (const auto* e = FLook.EntryAs<TbsDataSkinListBox>(); e && e->itemrect.Height() > 0)
        return e->itemrect.Height();
    return DefaultItemHeight;
}

int TbsPopupListBox::HeightForRows(int rows) const
{
    if (FLook.Skinned())
        return FLook.SkinHeight() + rows * ItemHeight() - FLook.Geometry().ClientRect.Height();
    return rows * ItemHeight() + 4;
}

QRect TbsPopupListBox::ClientArea() const
{
    QRect r = FLook.Skinned() ? FLook.ClientRect(width(), height()) : rect().adjusted(2, 2, -2, -2);
    if (FBar->isVisible())
        r.setRight(std::min(r.right(), FBar->x() - 1));
    return r;
}

void TbsPopupListBox::SetRows(int rows)
{
    FRows = std::max(1, rows);
    SetTopIndex(FTopIndex);
    UpdateBar();
}

void TbsPopupListBox::SetTopIndex(int top)
{
    top = std::clamp(top, 0, std::max(0, int(Items.size()) - FRows));
    if (top == FTopIndex)
        return;
    FTopIndex = top;
    FBar->SetRange(0, std::max(0, int(Items.size()) - 1), FRows, FTopIndex);
    update();
}

void TbsPopupListBox::SetItemIndex(int index)
{
    if (index < -1 || index >= int(Items.size()))
        index = -1;
    FItemIndex = index;
    if (index >= 0) {
        if (index < FTopIndex)
            SetTopIndex(index);
        else if (index >= FTopIndex + FRows)
            SetTopIndex(index - FRows + 1);
    }
    update();
}

void TbsPopupListBox::UpdateBar()
{
    const bool needed = int(Items.size()) > FRows;
    if (needed) {
        const QRect area = FLook.Skinned() ? FLook.ClientRect(width(), height()) : rect().adjusted(2, 2, -2, -2);
        const int w = FBar->width();
        FBar->setGeometry(area.right() + 1 - w, area.top(), w, area.height());
        FBar->SetRange(0, int(Items.size()) - 1, FRows, FTopIndex);
    }
    FBar->setVisible(needed);
}

void TbsPopupListBox::resizeEvent(QResizeEvent*) { UpdateBar(); }

QRect TbsPopupListBox::ItemRect(int index) const
{
    const QRect area = ClientArea();
    return QRect(area.left(), area.top() + (index - FTopIndex) * ItemHeight(), area.width(), ItemHeight());
}

int TbsPopupListBox::ItemAt(const QPoint& p) const
{
    const QRect area = ClientArea();
    if (!area.contains(p))
        return -1;
    const int index = FTopIndex + (p.y() - area.top()) / ItemHeight();
    return index < int(Items.size()) && index < FTopIndex + FRows ? index : -1;
}

int TbsPopupListBox::FindPrefix(const QString& prefix, int after) const
{
    const int n = int(Items.size());
    for (int k = 1; k <= n; ++k) {
        const int i = ((after < 0 ? -1 : after) + k) % n;
        if (Items[i].startsWith(prefix, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

void TbsPopupListBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    FLook.LookUp(FListName);
    const auto* e = FLook.EntryAs<TbsDataSkinListBox>();
    if (e) {
        p.drawImage(0, 0, FLook.Build(FLook.Geometry().SkinRect, width(), height()));
        p.setFont(bsSkinFont(e->fontname, e->fontheight, e->fontstyle));
    } else {
        p.fillRect(rect(), QGuiApplication::palette().color(QPalette::Base));
        p.setPen(clBtnShadow());
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        p.setFont(FCombo->font());
    }
    p.setClipRect(ClientArea());
    const int last = std::min(int(Items.size()), FTopIndex + FRows);
    for (int i = FTopIndex; i < last; ++i) {
        const QRect r = ItemRect(i);
        const bool selected = i == FItemIndex;
        if (OnDrawItem) {
            // The combo holds the focus for the list: the selected item is the focused one.
            p.save();
            OnDrawItem(p, i, selected ? odSelected | odFocused : 0, r);
            p.restore();
            continue;
        }
        const QImage image = bsItemImage(Images, ImageIndex, i);
        if (e) {
            // The list works for the combo, which has the focus: the selected
            // item shows the focused look.
            const TbsRect src = selected ? (FLook.InPicture(e->focusitemrect) ? e->focusitemrect : e->activeitemrect)
                                         : e->itemrect;
            const QImage piece = bsHorizontalPieces(FLook.Picture(), src, e->itemleftoffset, e->itemrightoffset, r.width());
            if (!piece.isNull())
                p.drawImage(r.topLeft(), piece);
            QRect text = e->itemtextrect.IsEmpty() ? r : bsQRect(e->itemtextrect).translated(r.topLeft());
            text.setRight(text.right() + r.width() - e->itemrect.Width());
            p.setPen(bsColor(selected ? e->focusfontcolor : e->fontcolor));
            if (image.isNull())
                p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, Items[i]);
            else
                bsDrawImageAndText(p, text, image, Items[i]);
        } else {
            const QPalette pal = QGuiApplication::palette();
            p.fillRect(r, selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
            p.setPen(selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
            bsDrawImageAndText(p, r.adjusted(0, 0, -2, 0), image, Items[i]);
            if (selected) {
                p.setPen(Qt::DotLine);
                p.drawRect(r.adjusted(0, 0, -1, -1));
            }
        }
    }
}

void TbsPopupListBox::mouseMoveEvent(QMouseEvent* event)
{
    const int i = ItemAt(event->position().toPoint());
    if (i >= 0 && i != FItemIndex)
        SetItemIndex(i);
}

void TbsPopupListBox::mousePressEvent(QMouseEvent* event)
{
    // The combo takes the press over: releasing over an item accepts it.
    if (event->button() == Qt::LeftButton)
        FCombo->ListPressed(event->globalPosition().toPoint());
}

void TbsPopupListBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        FCombo->ListReleased(event->globalPosition().toPoint());
}

void TbsPopupListBox::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta != 0)
        SetTopIndex(FTopIndex + (delta < 0 ? 1 : -1));
    event->accept();
}

}  // namespace rasp
