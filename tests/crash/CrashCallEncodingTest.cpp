#include "crash/modules/CrashCallEncoding.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace rasp;

namespace {
struct TRowCase {
  const char* Asm;              // AT&T syntax for the GNU assembler
  std::vector<uint8_t> Bytes;   // the same instruction assembled by hand
  TCrashCallKind Kind;
};

// Every form of the table, without and with REX prefixes.
const std::vector<TRowCase>& Rows() {
  static const std::vector<TRowCase> rows = {
    {"call .+0x105", {0xE8, 0x00, 0x01, 0x00, 0x00}, ckRelative},
    {"call *%rax", {0xFF, 0xD0}, ckRegister},
    {"call *%rdi", {0xFF, 0xD7}, ckRegister},
    {"call *%r8", {0x41, 0xFF, 0xD0}, ckRegister},
    {"call *%r15", {0x41, 0xFF, 0xD7}, ckRegister},
    {"call *(%rax)", {0xFF, 0x10}, ckMemory},
    {"call *(%rsi)", {0xFF, 0x16}, ckMemory},
    {"call *(%r9)", {0x41, 0xFF, 0x11}, ckMemory},
    {"call *(%rsp)", {0xFF, 0x14, 0x24}, ckMemory},
    {"call *(%rax,%rbx,8)", {0xFF, 0x14, 0xD8}, ckMemory},
    {"call *(%r12)", {0x41, 0xFF, 0x14, 0x24}, ckMemory},
    {"call *(%rax,%r11,4)", {0x42, 0xFF, 0x14, 0x98}, ckMemory},
    {"call *0x1000(,%rax,8)", {0xFF, 0x14, 0xC5, 0x00, 0x10, 0x00, 0x00}, ckMemory},
    {"call *0x1000(,%r10,8)", {0x42, 0xFF, 0x14, 0xD5, 0x00, 0x10, 0x00, 0x00}, ckMemory},
    {"call *0x10(%rax)", {0xFF, 0x50, 0x10}, ckMemory},
    {"call *-8(%rbp)", {0xFF, 0x55, 0xF8}, ckMemory},
    {"call *0x10(%r13)", {0x41, 0xFF, 0x55, 0x10}, ckMemory},
    {"call *0x10(%rsp)", {0xFF, 0x54, 0x24, 0x10}, ckMemory},
    {"call *0x10(%rax,%rcx,2)", {0xFF, 0x54, 0x48, 0x10}, ckMemory},
    {"call *0x10(%r12)", {0x41, 0xFF, 0x54, 0x24, 0x10}, ckMemory},
    {"call *0x1000(%rax)", {0xFF, 0x90, 0x00, 0x10, 0x00, 0x00}, ckMemory},
    {"call *0x1000(%rdi)", {0xFF, 0x97, 0x00, 0x10, 0x00, 0x00}, ckMemory},
    {"call *0x1000(%r14)", {0x41, 0xFF, 0x96, 0x00, 0x10, 0x00, 0x00}, ckMemory},
    {"call *0x1000(%rsp)", {0xFF, 0x94, 0x24, 0x00, 0x10, 0x00, 0x00}, ckMemory},
    {"call *0x1000(%r12,%r13,1)", {0x43, 0xFF, 0x94, 0x2C, 0x00, 0x10, 0x00, 0x00}, ckMemory},
    {"call *0x10(%rip)", {0xFF, 0x15, 0x10, 0x00, 0x00, 0x00}, ckRipRelative},
  };
  return rows;
}

TCrashCallMatch MatchEndingWith(const std::vector<uint8_t>& instruction, uint8_t filler) {
  uint8_t before[8];
  for (uint8_t& b : before) b = filler;
  for (size_t i = 0; i < instruction.size(); ++i) before[8 - instruction.size() + i] = instruction[i];
  return MatchCallBefore(before);
}

// Bytes of each instruction assembled by the GNU assembler, when it is there.
std::vector<std::vector<uint8_t>> Assemble(const std::vector<TRowCase>& rows) {
  std::string dir = testing::TempDir();
  std::string s = dir + "crash_calls.s", o = dir + "crash_calls.o", bin = dir + "crash_calls.bin";
  std::ofstream src(s);
  src << ".text\n";
  for (size_t i = 0; i < rows.size(); ++i) src << "l" << i << ": " << rows[i].Asm << "\n";
  src << "lend: nop\n";
  src.close();
  std::string cmd = "as --64 -o " + o + " " + s + " 2>/dev/null && objcopy -O binary -j .text " + o + " " + bin;
  if (std::system(cmd.c_str()) != 0) return {};
  std::ifstream in(bin, std::ios::binary);
  std::vector<uint8_t> all((std::istreambuf_iterator<char>(in)), {});
  std::vector<std::vector<uint8_t>> out;
  size_t at = 0;
  for (const TRowCase& r : rows) {
    if (at + r.Bytes.size() > all.size()) return {};
    out.emplace_back(all.begin() + long(at), all.begin() + long(at + r.Bytes.size()));
    at += r.Bytes.size();
  }
  return out;
}
} // namespace

TEST(CrashCallEncoding, EveryRowMatchesItsInstruction) {
  for (const TRowCase& r : Rows()) {
    SCOPED_TRACE(r.Asm);
    for (uint8_t filler : {0x90, 0x00, 0xCC}) {
      TCrashCallMatch m = MatchEndingWith(r.Bytes, filler);
      EXPECT_EQ(m.Kind, r.Kind);
      EXPECT_EQ(m.Length, int(r.Bytes.size()));
    }
  }
  TCrashCallMatch rel = MatchEndingWith({0xE8, 0xFB, 0xFF, 0xFF, 0xFF}, 0x90);
  EXPECT_EQ(rel.Displacement, -5);
  TCrashCallMatch rip = MatchEndingWith({0xFF, 0x15, 0x10, 0x00, 0x00, 0x00}, 0x90);
  EXPECT_EQ(rip.Displacement, 0x10);
}

TEST(CrashCallEncoding, HandBytesAgreeWithTheAssembler) {
  std::vector<std::vector<uint8_t>> assembled = Assemble(Rows());
  if (assembled.empty()) GTEST_SKIP() << "no GNU assembler";
  for (size_t i = 0; i < Rows().size(); ++i) {
    if (Rows()[i].Kind == ckRelative) continue;  // its displacement depends on the position
    EXPECT_EQ(assembled[i], Rows()[i].Bytes) << Rows()[i].Asm;
  }
}

TEST(CrashCallEncoding, NonCallsDoNotMatch) {
  // jmp *%rax (FF E0), push (FF 30), inc (FF C0), plain data.
  for (std::vector<uint8_t> bytes : std::vector<std::vector<uint8_t>>{
           {0xFF, 0xE0}, {0xFF, 0x30}, {0xFF, 0xC0}, {0xFF, 0x25, 0, 0, 0, 0}, {0x90, 0x90}, {0x48, 0x89, 0xE5}}) {
    EXPECT_EQ(MatchEndingWith(bytes, 0x90).Kind, ckNone);
  }
  // FF 15 is RIP-relative only when its displacement ends at v.
  EXPECT_EQ(MatchEndingWith({0xFF, 0x15, 0x10, 0x00, 0x00}, 0x90).Kind, ckNone);
}
