// System and BIOS identity strings, and the "ZAQ" manufacturer test.
#include <ostream>
#include <string>

#include "fwprobe.h"
#include "support/service_test.h"

namespace fwprobe::testing {
namespace {

using Identity = ServiceTest;

struct Three {
  char a[FWPROBE_SMBIOS_STRING_MAX] = "stale";
  char b[FWPROBE_SMBIOS_STRING_MAX] = "stale";
  char c[FWPROBE_SMBIOS_STRING_MAX] = "stale";
};

TEST_F(Identity, SystemStringsFromFirstTypeOne) {
  InstallSmbios(svc(), Concat({BiosInfo("V", "1", "D"), SystemInfo("Maker", "Model 9", "SN-1"),
                               SystemInfo("Second", "X", "Y")}));
  Three t;
  EXPECT_EQ(SMBIOSGetSystem(t.a, t.b, t.c), 0);
  EXPECT_STREQ(t.a, "Maker");
  EXPECT_STREQ(t.b, "Model 9");
  EXPECT_STREQ(t.c, "SN-1");
}

TEST_F(Identity, MissingStringsLeaveEmptyBuffersAndSucceed) {
  // Serial number byte 0; product byte names a string beyond the last one.
  InstallSmbios(svc(), Structure(1, {1, 5, 0, 0}, {"Maker"}));
  Three t;
  EXPECT_EQ(SMBIOSGetSystem(t.a, t.b, t.c), 0);
  EXPECT_STREQ(t.a, "Maker");
  EXPECT_STREQ(t.b, "");
  EXPECT_STREQ(t.c, "");
}

TEST_F(Identity, StringsAreCopiedByteForByte) {
  const std::string high = "Caf\xE9 \x80\xFF";
  InstallSmbios(svc(), SystemInfo(high, "p", "s"));
  Three t;
  ASSERT_EQ(SMBIOSGetSystem(t.a, t.b, t.c), 0);
  EXPECT_EQ(std::string(t.a), high);
}

TEST_F(Identity, LongestStringFitsTheDocumentedBuffer) {
  // A string filling almost all of a 65,535-byte table.
  const std::string longest(0xFFFF - 4 - 4 - 2, 'L');
  InstallSmbios(svc(), Structure(1, {1, 0, 0, 0}, {longest}));
  Three t;
  ASSERT_EQ(SMBIOSGetSystem(t.a, t.b, t.c), 0);
  EXPECT_EQ(std::string(t.a), longest);
}

TEST_F(Identity, NoTypeOneIsResultTwoWithEmptyBuffers) {
  InstallSmbios(svc(), BiosInfo("V", "1", "D"));
  Three t;
  EXPECT_EQ(SMBIOSGetSystem(t.a, t.b, t.c), 2);
  EXPECT_STREQ(t.a, "");
  EXPECT_STREQ(t.b, "");
  EXPECT_STREQ(t.c, "");
}

TEST_F(Identity, NullBuffersAreSkipped) {
  InstallSmbios(svc(), SystemInfo("Maker", "P", "S"));
  char m[16] = "x";
  EXPECT_EQ(SMBIOSGetSystem(m, nullptr, nullptr), 0);
  EXPECT_STREQ(m, "Maker");
  EXPECT_EQ(SMBIOSGetBiosInfo(nullptr, nullptr, nullptr), 0);
}

TEST_F(Identity, BiosInfoReadsTheFirstStructureWhateverItsType) {
  InstallSmbios(svc(), Concat({BiosInfo("Vendor", "2.1", "12/31/2024"), SystemInfo("M", "P", "S")}));
  Three t;
  EXPECT_EQ(SMBIOSGetBiosInfo(t.a, t.b, t.c), 0);
  EXPECT_STREQ(t.a, "Vendor");
  EXPECT_STREQ(t.b, "2.1");
  EXPECT_STREQ(t.c, "12/31/2024");

  // Type 1 first: its offsets 4, 5 and 8 are read.
  InstallSmbios(svc(),
                Concat({Structure(1, {1, 2, 0, 0, 3}, {"M", "P", "S"}), BiosInfo("Vendor", "2.1", "D")}));
  EXPECT_EQ(SMBIOSGetBiosInfo(t.a, t.b, t.c), 0);
  EXPECT_STREQ(t.a, "M");
  EXPECT_STREQ(t.b, "P");
  EXPECT_STREQ(t.c, "S");
}

TEST_F(Identity, BiosInfoOnEmptyTableIsResultTwo) {
  InstallSmbios(svc(), Bytes{}, 0);
  Three t;
  EXPECT_EQ(SMBIOSGetBiosInfo(t.a, t.b, t.c), 2);
  EXPECT_STREQ(t.a, "");
}

struct ZaqCase {
  const char *manufacturer;
  int result;
};

void PrintTo(const ZaqCase &c, std::ostream *os) { *os << c.manufacturer; }

class ZaqPrefix : public ServiceTest, public ::testing::WithParamInterface<ZaqCase> {};

TEST_P(ZaqPrefix, ComparesThreeCharactersIgnoringAsciiCase) {
  InstallSmbios(svc(), SystemInfo(GetParam().manufacturer, "P", "S"));
  EXPECT_EQ(isZaqSmbios(), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Cases, ZaqPrefix,
                         ::testing::Values(ZaqCase{"ZAQ", 1}, ZaqCase{"zAq", 1}, ZaqCase{"Zaq Works", 1},
                                           ZaqCase{"ZA", 0}, ZaqCase{"XZAQ", 0}, ZaqCase{"", 0},
                                           ZaqCase{"ZA\xF1", 0}, ZaqCase{"Z@Q", 0}));

TEST_F(Identity, ZaqIsZeroWithoutTypeOneOrEntryPoint) {
  EXPECT_EQ(isZaqSmbios(), 0);
  InstallSmbios(svc(), BiosInfo("ZAQ", "1", "D"));
  EXPECT_EQ(isZaqSmbios(), 0);
}

}  // namespace
}  // namespace fwprobe::testing
