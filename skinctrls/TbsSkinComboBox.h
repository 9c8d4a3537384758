#pragma once
// Drop-down list drawn from the "combobox" entry. In the fixed style it is
// pick-only; in the edit style an inner edit field takes the typing. Its list
// opens in a popup window of its own (TbsPopupListBox).

#include "skinctrls/TbsPopupListBox.h"
#include "skinctrls/TbsSkinCustomControl.h"

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QStringList>

class TbsDataSkinComboBox;

namespace rasp {

class TbsPopupListBox;
class TbsSkinEdit;

enum TbsComboBoxStyle { bscbEditStyle, bscbFixedStyle };

class TbsSkinComboBox : public TbsSkinCustomControl {
    Q_OBJECT
public:
    explicit TbsSkinComboBox(QWidget* parent = nullptr);
    ~TbsSkinComboBox() override;

    TbsComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TbsComboBoxStyle style);
    const QStringList& Items() const;
    void SetItems(const QStringList& items);
    void addItems(const QStringList& items);
    int count() const { return int(Items().size()); }
    QString itemText(int i) const { return i >= 0 && i < count() ? Items()[i] : QString(); }

    int ItemIndex() const;
    // Selects the item: Text becomes its text (Change when it differs) and
    // Click fires on every assignment, even of the present index.
    void SetItemIndex(int index);
    QString Text() const { return FText; }
    void SetText(const QString& text);
    int DropDownCount() const { return FDropDownCount; }
    // Values below 1 are refused.
    void SetDropDownCount(int n);
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool on) { FAutoComplete = on; }
    int ListBoxWidth() const { return FListBoxWidth; }
    void SetListBoxWidth(int w) { FListBoxWidth = w; }
    // A translucent list (255 is opaque), optionally faded in when it opens.
    bool AlphaBlend = false;
    int AlphaBlendValue = 0;
    bool AlphaBlendAnimation = false;

    // Items in alphabetical order, letter case ignored; the selected item
    // stays selected when the order changes.
    bool Sorted() const;
    void SetSorted(bool on);
    // Pictures shown before the items' texts, in the field and the list:
    // picture ImageIndex for every item, or, while ImageIndex is negative,
    // the picture of the item's own index.
    const QList<QImage>& Images() const;
    void SetImages(const QList<QImage>& images);
    int ImageIndex() const;
    void SetImageIndex(int index);
    // When set, these paint the item in the field (state odFocused with the
    // focus) and the items of the list instead of the picture and text.
    TbsDrawItemEvent OnComboBoxDrawItem;
    void SetOnListBoxDrawItem(TbsDrawItemEvent draw);

    void DropDown();
    void CloseUp(bool accept);
    bool DroppedDown() const;
    TbsPopupListBox* ListBox() const { return FList; }
    TbsSkinEdit* Edit() const { return FEdit; }
    QRect ButtonRect() const;
    QRect ItemArea() const;

    void ApplySkin() override;
    void ForgetSkinEntry() override;

    // The list hands its presses and releases over (screen coordinates).
    void ListPressed(const QPoint& globalPos);
    void ListReleased(const QPoint& globalPos);

signals:
    void Change();
    void Click();
    void DropDownEvent();
    void CloseUpEvent();

protected:
    void DrawDefaultImage(QImage& image) override;
    void DrawSkinImage(QImage& image) override;
    void SkinGeometryChanged() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const TbsDataSkinComboBox* Entry() const;
    QString ListName() const;
    void DrawItem(QImage& image, const QFont& font, const QColor& color, const QRect& textRect) const;
    void Select(int index);  // a full selection
    void TypeAhead(const QString& key);
    void StopDrag();
    void EditTextChanged();

    TbsComboBoxStyle FStyle = bscbFixedStyle;
    TbsPopupListBox* FList = nullptr;
    TbsSkinEdit* FEdit = nullptr;
    QString FText;
    int FDropDownCount = 8;
    bool FAutoComplete = true;
    int FListBoxWidth = 0;

    int FSavedIndex = -1;
    bool FButtonHot = false;
    bool FButtonPressed = false;
    bool FDragSelect = false;
    bool FEnteredList = false;
    int FAutoScroll = 0;  // -1 up, +1 down
    bool FEditChanging = false;
    QBasicTimer FScrollTimer;
    QBasicTimer FFadeTimer;
    QString FTyped;
    QElapsedTimer FLastKey;
};

}  // namespace rasp
