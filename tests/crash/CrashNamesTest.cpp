#include "crash/modules/CrashFormat.h"
#include "crash/modules/CrashNames.h"

#include <gtest/gtest.h>

using namespace rasp;

namespace {
void Expect(const TCrashNameParts& p, int detail, const char* unit, const char* cls, const char* routine) {
  EXPECT_EQ(p.Detail, detail);
  EXPECT_EQ(p.UnitFile, unit);
  EXPECT_EQ(p.OwnerClass, cls);
  EXPECT_EQ(p.Routine, routine);
}
} // namespace

TEST(CrashNames, ExportedNameForms) {
  Expect(SplitExportedName("@Forms@TApplication@HandleException$qqrp14System@TObject"), 3, "Forms.pas",
         "TApplication", "HandleException");
  Expect(SplitExportedName("SysUtils.FormatFloat"), 3, "SysUtils.pas", "", "FormatFloat");
  Expect(SplitExportedName("Unit1.TForm1.Button1Click"), 3, "Unit1.pas", "TForm1", "Button1Click");
  Expect(SplitExportedName("MessageBoxA"), 2, "", "", "MessageBoxA");
  Expect(SplitExportedName("@Forms@Nothing"), 0, "", "", "");  // no "$": not split
  Expect(SplitExportedName("a.b.c.d"), 0, "", "", "");
  // Symbol versions and compiler clones of C routines.
  Expect(SplitExportedName("memcpy@GLIBC_2.14"), 2, "", "", "memcpy");
  Expect(SplitExportedName("compress_block.part.0"), 2, "", "", "compress_block");
  Expect(SplitExportedName("inflate.cold"), 2, "", "", "inflate");
}

TEST(CrashNames, CppNames) {
  Expect(SplitExportedName("_ZN4rasp17TCrashModulesList14ResolveAddressEm"), 3, "", "rasp::TCrashModulesList",
         "ResolveAddress");
  Expect(SplitExportedName("_ZN12_GLOBAL__N_14WalkEv"), 3, "", "(anonymous namespace)", "Walk");
  Expect(SplitExportedName("_Z3fooi"), 2, "", "", "foo");
  Expect(SplitExportedName("_ZN4rasp4TFooD2Ev.cold"), 3, "", "rasp::TFoo", "~TFoo");
  Expect(SplitCppName("void std::vector<int, std::allocator<int> >::_M_realloc_insert<int const&>(int const&)"), 3,
         "", "std::vector<int, std::allocator<int> >", "_M_realloc_insert<int const&>");
  Expect(SplitCppName("rasp::TWidget::operator<(rasp::TWidget const&) const"), 3, "", "rasp::TWidget", "operator<");
  Expect(SplitCppName("rasp::TWidget::operator->() const"), 3, "", "rasp::TWidget", "operator->");
  Expect(SplitCppName("main"), 2, "", "", "main");
  Expect(SplitCppName("rasp::Run()::{lambda(int)#1}::operator()(int) const"), 3, "", "rasp::Run()::{lambda(int)#1}",
         "operator()");
  EXPECT_EQ(CrashQualifiedName("rasp::TFoo::Bar(int, char const*)"), "rasp::TFoo::Bar");
  EXPECT_EQ(CrashDemangle("not_mangled"), "not_mangled");
  EXPECT_EQ(CrashDemangle("_ZN4rasp3RunEv"), "rasp::Run()");
}

TEST(CrashNames, AddressesAreSixteenHexDigits) {
  EXPECT_EQ(CrashHexAddress(0x400000), "0000000000400000");
  EXPECT_EQ(CrashHexAddress(0x7F12ABCDEF01), "00007F12ABCDEF01");
  EXPECT_EQ(CrashHexAddress(UINTPTR_MAX), "FFFFFFFFFFFFFFFF");
}
