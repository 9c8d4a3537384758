#pragma once
// Number field with up and down arrow buttons. Holding an arrow repeats: the
// first step comes after 500 ms, then one every 100 ms, and one more at release.

#include "skinctrls/NumericText.h"
#include "skinctrls/TbsSkinBinding.h"
#include "skinctrls/TbsSkinClient.h"
#include "skinctrls/TbsSkinLook.h"

#include <QBasicTimer>
#include <QWidget>

namespace rasp {

class TbsSkinNumEdit;

class TbsSkinSpinEdit : public QWidget, public TbsSkinBinding, public TbsSkinClient {
    Q_OBJECT
public:
    explicit TbsSkinSpinEdit(QWidget* parent = nullptr);
    ~TbsSkinSpinEdit() override;

    double Value() const { return FValue; }
    // Value := Clamp(x), the text shows it, and Change is raised exactly once,
    // also when the value stays the same; not again from inside Change.
    void SetValue(double x);
    // The text shows Value again when it does not (emptied, or not a
    // number): done when the field is left and before the value is used,
    // so the field never shows a number other than the one in use.
    void ShowValue();

    TValueType ValueType() const { return FValueType; }
    void SetValueType(TValueType type);
    int Decimal() const { return FDecimal; }
    void SetDecimal(int decimals) { FDecimal = decimals; }
    double MinValue() const { return FMinValue; }
    double MaxValue() const { return FMaxValue; }
    void SetMinValue(double v);
    void SetMaxValue(double v);
    double Increment() const { return FIncrement; }
    void SetIncrement(double v) { FIncrement = v; }
    bool EditorEnabled() const;
    void SetEditorEnabled(bool on);

    QString Text() const;
    void SetText(const QString& text);

    // No bounds while MinValue and MaxValue are both 0.
    double Clamp(double x) const;

    TbsSkinNumEdit* Editor() const { return FEditor; }

    // Drawn from the "spinedit" entry while the skin has one.
    TbsSkinData* SkinData() const override { return FLook.Data(); }
    void SetSkinData(TbsSkinData* skinData) override;
    void ForgetSkinEntry() override
    {
        FLook.Forget();
        FButtonLook.Forget();
    }
    void ApplySkin() override;
    bool IsSkinned() const { return FLook.Skinned(); }
    // Keep the entry's height and draw the entry's own button pictures; off,
    // the picture is stretched to any height and the arrows are drawn from
    // the "resizebutton" entry.
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool on);
    // The pointer is over the control or the inner editor has the focus.
    bool Hot() const;
    QRect UpButtonRect() const;
    QRect DownButtonRect() const;

signals:
    void Change();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum TButton { sbNone, sbUp, sbDown };

    void EditorTextChanged();
    void FireChange();
    void SetEditorText(const QString& text);
    void Step(int direction);
    void StepPressed();
    TButton ButtonAt(const QPoint& p) const;
    void LayoutEditor();
    void PaintButton(class QPainter& painter, TButton button) const;
    void PaintSkin(class QPainter& painter) const;
    // Font, colour and height from the entry, then the layout.
    void Restyle();
    QRect SkinButtonRect(const TbsRect& r) const;
    // The arrows of a stretched field, from the "resizebutton" entry.
    void PaintResizeButton(class QPainter& painter, TButton button) const;
    void PaintArrow(class QPainter& painter, const QRect& r, TButton button, const QColor& color, int shift) const;

    TbsSkinLook FLook;
    TbsSkinLook FButtonLook;
    bool FUseSkinSize = true;
    QFont FDefaultFont;
    bool FMouseIn = false;
    bool FRestyling = false;

    TbsSkinNumEdit* FEditor = nullptr;
    TValueType FValueType = vtInteger;
    int FDecimal = 2;
    double FMinValue = 0;
    double FMaxValue = 0;
    double FValue = 0;
    double FIncrement = 1;
    bool FInChange = false;
    bool FSettingText = false;

    TButton FHot = sbNone;
    TButton FPressed = sbNone;
    bool FFirstDelay = false;
    QBasicTimer FRepeat;
};

}  // namespace rasp
