#include "skinctrls/TbsSkinNumericEdit.h"

#include "skinctrls/ExceptionSink.h"

#include <QKeyEvent>
#include <QScopedValueRollback>

namespace rasp {

TbsSkinNumericEdit::TbsSkinNumericEdit(QWidget* parent) : TbsSkinEdit(parent)
{
    ReplaceTextQuietly(QStringLiteral("0"));
}

double TbsSkinNumericEdit::Clamp(double x) const
{
    if (FMinValue == FMaxValue)
        return x;
    if (x < FMinValue)
        return FMinValue;
    if (x > FMaxValue)
        return FMaxValue;
    return x;
}

void TbsSkinNumericEdit::ReplaceTextQuietly(const QString& text)
{
    QScopedValueRollback guard(FAssigning, true);
    const QSignalBlocker blocker(this);
    setText(text);
}

void TbsSkinNumericEdit::SetValue(double x)
{
    FValue = Clamp(x);
    const QString shown = FormatNumber(FValue, FValueType, FDecimal, DecimalSeparator());
    if (shown == text())
        return;
    {
        QScopedValueRollback guard(FAssigning, true);
        setText(shown);
    }
}

void TbsSkinNumericEdit::TextChanged()
{
    if (!FAssigning) {
        const QString t = text();
        const QChar sep = DecimalSeparator();
        if (IsValidNumberText(t, FValueType, sep)) {
            double parsed = 0;
            try {
                parsed = ParseNumberText(t, FValueType, sep);
            } catch (const EConvertError&) {
                // A number too large for the conversion is text like any
                // other invalid text: the value keeps its last number.
                emit Change();
                return;
            }
            FValue = Clamp(parsed);
            if (FValue != parsed)
                ReplaceTextQuietly(FormatNumber(FValue, FValueType, FDecimal, sep));
        }
    }
    emit Change();
}

bool TbsSkinNumericEdit::AcceptChar(QChar ch)
{
    return AcceptsTypedChar(ch, text(), FValueType, DecimalSeparator(), isReadOnly());
}

void TbsSkinNumericEdit::keyPressEvent(QKeyEvent* event)
{
    if (FSupportUpDownKeys && !isReadOnly() &&
        (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
        SetValue(FValue + (event->key() == Qt::Key_Up ? FIncrement : -FIncrement));
        return;
    }
    TbsSkinEdit::keyPressEvent(event);
}

}  // namespace rasp
