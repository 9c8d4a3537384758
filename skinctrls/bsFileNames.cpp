#include "skinctrls/bsFileNames.h"

namespace rasp {

namespace {

// Length of the valid UTF-8 sequence at s[i], or 0.
int ValidSequence(const unsigned char* s, qsizetype i, qsizetype n, char32_t& cp)
{
    const unsigned char b = s[i];
    int len = 0;
    char32_t min = 0;
    if (b < 0x80) {
        cp = b;
        return 1;
    } else if ((b & 0xE0) == 0xC0) {
        len = 2, cp = b & 0x1F, min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        len = 3, cp = b & 0x0F, min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        len = 4, cp = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > n)
        return 0;
    for (int k = 1; k < len; ++k) {
        if ((s[i + k] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

}  // namespace

QString bsDecodeFileName(const QByteArray& bytes)
{
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    QString out;
    out.reserve(n);
    for (qsizetype i = 0; i < n;) {
        char32_t cp = 0;
        const int len = ValidSequence(s, i, n, cp);
        if (len == 0) {
            out.append(QChar(char16_t(0xDC00 + s[i])));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            out.append(QChar(QChar::highSurrogate(cp)));
            out.append(QChar(QChar::lowSurrogate(cp)));
        } else {
            out.append(QChar(char16_t(cp)));
        }
        i += len;
    }
    return out;
}

QByteArray bsEncodeFileName(const QString& name)
{
    QByteArray out;
    out.reserve(name.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t u = name[i].unicode();
        const bool carried = u >= 0xDC80 && u <= 0xDCFF && (i == 0 || !name[i - 1].isHighSurrogate());
        if (!carried)
            continue;
        out += QStringView(name).mid(runStart, i - runStart).toUtf8();
        out += char(u - 0xDC00);
        runStart = i + 1;
    }
    out += QStringView(name).mid(runStart).toUtf8();
    return out;
}

QString bsDisplayFileName(const QString& name)
{
    QString out = name;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t u = out[i].unicode();
        if (u >= 0xDC80 && u <= 0xDCFF && (i == 0 || !out[i - 1].isHighSurrogate()))
            out[i] = QChar::ReplacementCharacter;
    }
    return out;
}

QString bsShortFileName(const QString& name)
{
    constexpr qsizetype Head = 30, Tail = 47;
    const QString shown = bsDisplayFileName(name);
    if (shown.size() <= Head + Tail + 3)
        return shown;
    // Never between the two halves of a surrogate pair.
    const qsizetype head = shown[Head - 1].isHighSurrogate() ? Head + 1 : Head;
    const qsizetype tail = shown[shown.size() - Tail].isLowSurrogate() ? Tail + 1 : Tail;
    return shown.left(head) + QStringLiteral("...") + shown.right(tail);
}

}  // namespace rasp
