#pragma once
// One-line field holding a number, a control of its own (the spin edit's
// inner editor is TbsSkinNumEdit): `Value` and the text are kept in step.

#include "skinctrls/NumericText.h"
#include "skinctrls/TbsSkinEdit.h"

namespace rasp {

class TbsSkinNumericEdit : public TbsSkinEdit {
    Q_OBJECT
public:
    explicit TbsSkinNumericEdit(QWidget* parent = nullptr);

    double Value() const { return FValue; }
    // Value := Clamp(x), kept unrounded; the text shows it formatted. Change is
    // raised once when the text changes by this.
    void SetValue(double x);

    TValueType ValueType() const { return FValueType; }
    // Only stored: the text is reformatted at the next assignment of Value.
    void SetValueType(TValueType type) { FValueType = type; }
    int Decimal() const { return FDecimal; }
    void SetDecimal(int decimals) { FDecimal = decimals; }
    double MinValue() const { return FMinValue; }
    double MaxValue() const { return FMaxValue; }
    void SetMinValue(double v) { FMinValue = v; }
    void SetMaxValue(double v) { FMaxValue = v; }
    double Increment() const { return FIncrement; }
    void SetIncrement(double v) { FIncrement = v; }
    bool SupportUpDownKeys() const { return FSupportUpDownKeys; }
    void SetSupportUpDownKeys(bool on) { FSupportUpDownKeys = on; }

    // No bounds while MinValue equals MaxValue.
    double Clamp(double x) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void TextChanged() override;
    bool AcceptChar(QChar ch) override;

private:
    void ReplaceTextQuietly(const QString& text);

    TValueType FValueType = vtInteger;
    int FDecimal = 2;
    double FMinValue = 0;
    double FMaxValue = 0;
    double FValue = 0;
    double FIncrement = 1;
    bool FSupportUpDownKeys = false;
    bool FAssigning = false;
};

}  // namespace rasp
