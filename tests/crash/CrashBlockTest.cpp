#include "crash/modules/CrashDataBlock.h"
#include "crash/modules/CrashModules.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>

using namespace rasp;

namespace {
std::string_view View(const std::vector<uint8_t>& v) { return {reinterpret_cast<const char*>(v.data()), v.size()}; }

std::vector<uint8_t> Packed(const std::vector<uint8_t>& payload, uint16_t version = 460) {
  TByteWriter w;
  w.u32(CrashBlockMagic);
  w.u16(version);
  w.u32(7);
  w.u32(8);
  uLongf n = compressBound(uLong(payload.size()));
  std::vector<uint8_t> z(n);
  compress(z.data(), &n, payload.data(), uLong(payload.size()));
  z.resize(n);
  w.bytes(z);
  return w.take();
}
} // namespace

TEST(CrashBlock, RoundTrip) {
  TCrashModuleOptions o("", false);
  o.SetEmailAddresses("bugs@example.com");
  std::vector<uint8_t> debug = {1, 2, 3, 4, 5};
  std::vector<uint8_t> block = WriteCrashBlock(o, debug, {11, 22});
  TCrashModuleOptions back("", false);
  TCrashBlock info;
  ASSERT_TRUE(ReadCrashBlock(View(block), back, info));
  EXPECT_EQ(back.EmailAddresses(), "bugs@example.com");
  EXPECT_EQ(info.DataVersion, 460);
  EXPECT_EQ(info.HeaderValues[0], 11u);
  EXPECT_EQ(info.HeaderValues[1], 22u);
  EXPECT_EQ(info.DebugData, debug);
}

TEST(CrashBlock, HostileBlocksAreRejectedAndChangeNothing) {
  TCrashModuleOptions o("", false);
  o.SetSMTPHost("good");
  std::vector<uint8_t> block = WriteCrashBlock(o, {9, 9, 9});
  auto rejected = [](const std::vector<uint8_t>& b) {
    TCrashModuleOptions target("", false);
    target.SetSMTPHost("untouched");
    TCrashBlock info;
    bool ok = ReadCrashBlock(View(b), target, info);
    EXPECT_EQ(target.SMTPHost(), "untouched");
    return !ok;
  };
  for (size_t n = 0; n < block.size(); ++n)
    EXPECT_TRUE(rejected(std::vector<uint8_t>(block.begin(), block.begin() + long(n)))) << n;
  std::vector<uint8_t> badMagic = block;
  badMagic[0] ^= 1;
  EXPECT_TRUE(rejected(badMagic));
  std::vector<uint8_t> garbage = block;
  for (size_t i = 14; i < garbage.size(); ++i) garbage[i] = uint8_t(i * 37);
  EXPECT_TRUE(rejected(garbage));

  // A payload whose debug length runs past its end.
  TByteWriter payload;
  o.SaveToStream(payload);
  payload.u32(1000);
  payload.bytes(std::string("short"));
  EXPECT_TRUE(rejected(Packed(payload.data())));
  // A stream of zeros inflating to more than any block may hold.
  std::vector<uint8_t> bomb(CrashMaxPayload + 1024, 0);
  EXPECT_TRUE(rejected(Packed(bomb)));
}

TEST(CrashBlock, OlderUncompressedAndAppendedForms) {
  TCrashModuleOptions o("", false);
  o.SetShowDialog(false);
  // The appended form: version word, header values, stream, debug data,
  // then the block's size and the magic at the file's end.
  TByteWriter body;
  body.u16(460);
  body.u32(1);
  body.u32(2);
  o.SaveToStream(body);
  body.u32(2);
  body.bytes(std::string("dd"));
  std::vector<uint8_t> file = {'E', 'L', 'F', '?'};
  file.insert(file.end(), body.data().begin(), body.data().end());
  TByteWriter tail;
  tail.u32(uint32_t(body.size()));
  tail.u32(CrashBlockMagic);
  file.insert(file.end(), tail.data().begin(), tail.data().end());

  uint64_t offset = 0, size = 0;
  ASSERT_TRUE(LocateAppendedCrashBlock(View(file).substr(file.size() - 8), file.size(), offset, size));
  EXPECT_EQ(offset, 4u);
  EXPECT_EQ(size, body.size());
  TCrashModuleOptions back("", false);
  TCrashBlock info;
  ASSERT_TRUE(ReadAppendedCrashBlock(View(file).substr(size_t(offset), size_t(size)), back, info));
  EXPECT_FALSE(back.ShowDialog());
  EXPECT_EQ(info.HeaderValues[1], 2u);
  EXPECT_EQ(info.DebugData, std::vector<uint8_t>({'d', 'd'}));

  // The size before the magic may not point before the file's start.
  std::vector<uint8_t> lie = file;
  lie[lie.size() - 8] = 0xFF;
  lie[lie.size() - 7] = 0xFF;
  EXPECT_FALSE(LocateAppendedCrashBlock(View(lie).substr(lie.size() - 8), lie.size(), offset, size));

  // Written to a file, the module reader finds it the same way.
  std::string path = testing::TempDir() + "crash_appended.bin";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), long(file.size()));
  TCrashModuleOptions fromFile("", false);
  TCrashBlock fileInfo;
  EXPECT_TRUE(ReadModuleDataBlock(path, fromFile, fileInfo));
  EXPECT_FALSE(fromFile.ShowDialog());
}
