// The structural check a Windows metafile passes before the converter, which
// trusts its sizes, reads it.

#include "app/metafile/WmfCheck.h"
#include "tests/deploy/MetafileBuilder.h"

#include <QFile>

#include <gtest/gtest.h>

namespace rasp {
namespace {

// The sample's records follow its 22-byte placeable header and 18-byte header.
constexpr qsizetype kFirstRecord = 40;

QByteArray WithDword(QByteArray bytes, qsizetype at, std::uint32_t value)
{
    const std::uint32_t v = qToLittleEndian(value);
    bytes.replace(at, 4, QByteArray(reinterpret_cast<const char*>(&v), 4));
    return bytes;
}

TEST(WmfCheck, SoundMetafilesPassUpToTheirEndRecord)
{
    const QByteArray wmf = test::MakeWmf(96, 48, 0x0000FF);
    EXPECT_EQ(WellFormedWmfLength(wmf), wmf.size());
    EXPECT_EQ(WellFormedWmfLength(wmf + "trailing"), wmf.size());
    // Without the placeable header, as stored inside other files.
    EXPECT_EQ(WellFormedWmfLength(wmf.mid(22)), wmf.size() - 22);
    // The file that makes the library loop is sound in its structure: the
    // helper's time limit is what stops it.
    QFile endless(QString::fromLocal8Bit(qgetenv("RASP_SOURCE_DIR")) + "/tests/deploy/data/endless.wmf");
    ASSERT_TRUE(endless.open(QIODevice::ReadOnly));
    EXPECT_EQ(WellFormedWmfLength(endless.readAll()), 148);
}

TEST(WmfCheck, RecordsOutsideTheDataOrLargerThanTheHeaderSaysAreRefused)
{
    const QByteArray wmf = test::MakeWmf(96, 48, 0x0000FF);
    EXPECT_EQ(WellFormedWmfLength(wmf.left(wmf.size() - 1)), 0);            // end record cut
    EXPECT_EQ(WellFormedWmfLength(wmf.left(wmf.size() - 6)), 0);            // no end record
    EXPECT_EQ(WellFormedWmfLength(WithDword(wmf, kFirstRecord, 2)), 0);     // shorter than its own fields
    EXPECT_EQ(WellFormedWmfLength(WithDword(wmf, kFirstRecord, 8)), 0);     // over the largest record, 7
    EXPECT_EQ(WellFormedWmfLength(WithDword(wmf, kFirstRecord, 0x40000000)), 0);
    EXPECT_EQ(WellFormedWmfLength(WithDword(wmf, 22 + 12, 2)), 0);          // largest record too small
    EXPECT_EQ(WellFormedWmfLength(wmf.left(30)), 0);
    EXPECT_EQ(WellFormedWmfLength(QByteArray()), 0);
    QByteArray badHeader = wmf;
    badHeader[22 + 2] = 10;  // header size in words
    EXPECT_EQ(WellFormedWmfLength(badHeader), 0);
}

} // namespace
} // namespace rasp
