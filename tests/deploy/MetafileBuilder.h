#pragma once
// Writes the smallest metafiles that draw one filled rectangle: a placeable
// Windows metafile and an enhanced metafile.

#include <QByteArray>
#include <QtEndian>

#include <cstdint>
#include <initializer_list>

namespace rasp::test {

class TLittleEndian {
public:
    TLittleEndian& W(std::uint16_t v) { return Put(qToLittleEndian(v)); }
    TLittleEndian& D(std::uint32_t v) { return Put(qToLittleEndian(v)); }
    TLittleEndian& Ws(std::initializer_list<int> vs)
    {
        for (int v : vs)
            W(static_cast<std::uint16_t>(v));
        return *this;
    }
    TLittleEndian& Ds(std::initializer_list<std::int64_t> vs)
    {
        for (auto v : vs)
            D(static_cast<std::uint32_t>(v));
        return *this;
    }
    QByteArray Bytes;

private:
    template <class T>
    TLittleEndian& Put(T v)
    {
        Bytes.append(reinterpret_cast<const char*>(&v), sizeof v);
        return *this;
    }
};

// A placeable WMF of width by height pixels at 96 dpi, filled with colour
// (0x00BBGGRR); each pixel is unitsPerPixel metafile units.
inline QByteArray MakeWmf(int width, int height, std::uint32_t colour, int unitsPerPixel = 15)
{
    const int w = width * unitsPerPixel, h = height * unitsPerPixel;
    TLittleEndian head;
    head.D(0x9AC6CDD7).W(0).Ws({0, 0, w, h}).W(96 * unitsPerPixel).D(0);
    std::uint16_t sum = 0;
    for (int i = 0; i < head.Bytes.size(); i += 2)
        sum ^= qFromLittleEndian<std::uint16_t>(head.Bytes.constData() + i);
    head.W(sum);

    TLittleEndian records;
    records.D(5).W(0x020B).Ws({0, 0});                   // window origin
    records.D(5).W(0x020C).Ws({h, w});                   // window extent
    records.D(7).W(0x02FC).W(0).D(colour).W(0);          // solid brush
    records.D(4).W(0x012D).W(0);                         // select it
    records.D(7).W(0x041B).Ws({h, w, 0, 0});             // rectangle
    records.D(3).W(0x0000);                              // end
    const auto words = static_cast<std::uint32_t>((18 + records.Bytes.size()) / 2);
    TLittleEndian meta;
    meta.W(1).W(9).W(0x0300).D(words).W(1).D(7).W(0);
    return head.Bytes + meta.Bytes + records.Bytes;
}

// An EMF of width by height pixels filled with colour (0x00BBGGRR).
inline QByteArray MakeEmf(int width, int height, std::uint32_t colour)
{
    TLittleEndian records;
    records.Ds({39, 24, 1, 0, colour, 0});               // solid brush as handle 1
    records.Ds({37, 12, 1});                             // select it
    records.Ds({43, 24, 0, 0, width, height});           // rectangle
    records.Ds({14, 20, 0, 0, 20});                      // end
    const auto total = static_cast<std::uint32_t>(88 + records.Bytes.size());
    TLittleEndian header;
    header.Ds({1, 88, 0, 0, width - 1, height - 1});
    // The frame in 0.01 mm at 96 dpi.
    header.Ds({0, 0, (width - 1) * 2540 / 96, (height - 1) * 2540 / 96});
    header.D(0x464D4520).D(0x10000).D(total).D(5).W(2).W(0).Ds({0, 0, 0});
    header.Ds({1024, 768, 271, 203});
    return header.Bytes + records.Bytes;
}

} // namespace rasp::test
