#pragma once
// The list a combo box opens: a popup window that never takes the focus or
// activation, drawn from the list entry the combo's entry names ("listbox"),
// with a skinned scroll bar when not every item fits.

#include "skinctrls/TbsSkinLook.h"

#include <QImage>
#include <QList>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace rasp {

class TbsSkinComboBox;
class TbsSkinScrollBar;

// The state bits an owner-drawn item is painted in.
enum : int { odSelected = 1, odFocused = 16 };

// Paints one item itself: the painter, the item's index, its state bits and
// the rectangle it fills.
using TbsDrawItemEvent = std::function<void(QPainter& canvas, int index, int state, const QRect& rect)>;

// The image of an item: ImageIndex when it is 0 or more, else the item's
// own index; null when that is not an image of the list.
QImage bsItemImage(const QList<QImage>& images, int imageIndex, int item);

// Draws an item's image (left, vertically centred) and its text 2 pixels
// after it, or 2 pixels from the rectangle's left edge without an image.
void bsDrawImageAndText(QPainter& p, const QRect& r, const QImage& image, const QString& text);

class TbsPopupListBox : public QWidget {
    Q_OBJECT
public:
    explicit TbsPopupListBox(TbsSkinComboBox* combo);

    QStringList Items;
    // Items kept in alphabetical order, letter case ignored.
    bool Sorted = false;
    QList<QImage> Images;
    int ImageIndex = -1;
    TbsDrawItemEvent OnDrawItem;
    // Puts the items in order; the selected item, and the one `other` names,
    // stay the same items at their new places.
    void SortItems(int* other = nullptr);
    int ItemIndex() const { return FItemIndex; }
    // Selects the item and scrolls it into view.
    void SetItemIndex(int index);
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int top);
    int Rows() const { return FRows; }
    void SetRows(int rows);
    int ItemHeight() const;
    // The height the list needs for a number of rows.
    int HeightForRows(int rows) const;
    // The item under a point of the list, -1 when none.
    int ItemAt(const QPoint& p) const;
    QRect ItemRect(int index) const;
    TbsSkinScrollBar* ScrollBar() const { return FBar; }

    void SetSkin(TbsSkinData* data, const QString& listName);
    bool IsSkinned() const { return FLook.Skinned(); }
    // Before the skin is replaced: nothing of the old one is kept.
    void ForgetSkin() { FLook.Forget(); }

    // Case-insensitive prefix search, starting after `after` and going round;
    // -1 when no item begins with the prefix.
    int FindPrefix(const QString& prefix, int after) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect ClientArea() const;
    void UpdateBar();

    TbsSkinComboBox* FCombo;
    TbsSkinLook FLook;
    QString FListName;
    TbsSkinScrollBar* FBar = nullptr;
    int FItemIndex = -1;
    int FTopIndex = 0;
    int FRows = 1;
};

}  // namespace rasp
