// Any text: the validity test, the conversion and the formatting of what it
// yields never crash, and a valid integer text reads back as itself.

#include "skinctrls/ExceptionSink.h"
#include "skinctrls/NumericText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const auto type = (data[0] & 1) ? rasp::vtFloat : rasp::vtInteger;
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));
    if (!rasp::IsValidNumberText(text, type, u'.'))
        return 0;
    try {
        const double value = rasp::ParseNumberText(text, type, u'.');
        const QString shown = rasp::FormatNumber(value, type, data[0] >> 4, u'.');
        if (type == rasp::vtInteger && rasp::ParseNumberText(shown, type, u'.') != value)
            std::abort();
    } catch (const rasp::EConvertError&) {
    }
    return 0;
}
