#include "skinctrls/NumericText.h"

#include "skinctrls/ExceptionSink.h"

#include <QLocale>
#include <cerrno>
#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace rasp {

QChar DecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QChar(u'.') : point.at(0);
}

QString FormatNumber(double value, TValueType type, int decimals, QChar separator)
{
    if (!std::isfinite(value))
        value = 0;
    if (type == vtFloat) {
        QString s = QString::number(value, 'f', decimals);
        s.replace(u'.', separator);
        return s;
    }
    // nearbyint follows the current rounding mode: round half to even.
    const int old = std::fegetround();
    std::fesetround(FE_TONEAREST);
    double r = std::nearbyint(value);
    std::fesetround(old);
    if (r == 0)
        r = 0;  // no "-0"
    return QString::number(r, 'f', 0);
}

bool IsValidNumberText(const QString& text, TValueType type, QChar separator)
{
    if (text.isEmpty() || text == QStringLiteral("-"))
        return false;
    int separators = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c >= u'0' && c <= u'9')
            continue;
        if (c == u'-') {
            if (i != 0)
                return false;
            continue;
        }
        if (type == vtFloat && c == separator) {
            if (i == 0 || ++separators > 1)
                return false;
            continue;
        }
        return false;
    }
    return true;
}

double ParseNumberText(const QString& text, TValueType type, QChar separator)
{
    if (type == vtInteger) {
        bool ok = false;
        const int v = text.toInt(&ok, 10);
        if (!ok)
            throw EConvertError("'" + text.toStdString() + "' is not a valid integer value");
        return v;
    }
    QString s = text;
    s.replace(separator, u'.');
    const QByteArray bytes = s.toLatin1();
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(bytes.constData(), &end);
    if (end == bytes.constData() || *end != '\0' || errno == ERANGE || !std::isfinite(v))
        throw EConvertError("'" + text.toStdString() + "' is not a valid floating point value");
    return v;
}

bool AcceptsTypedChar(QChar ch, const QString& text, TValueType type, QChar separator,
                      bool readOnly)
{
    if (ch == u'\r')
        return false;
    if (readOnly)
        return ch != u'\b' && ch.unicode() < 32;
    if (ch.unicode() < 32)
        return true;
    if (ch >= u'0' && ch <= u'9')
        return true;
    if (ch == u'-')
        return !text.contains(u'-');
    if (type == vtFloat && ch == separator)
        return !text.contains(separator);
    return false;
}

}  // namespace rasp
