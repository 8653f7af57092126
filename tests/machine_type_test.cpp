// The machine type derived from the product name.
#include <ostream>
#include <string>

#include "fwprobe.h"
#include "support/service_test.h"

namespace fwprobe::testing {
namespace {

struct MachineTypeCase {
  std::string product;
  int result;
  const char *type;
};

void PrintTo(const MachineTypeCase &c, std::ostream *os) { *os << c.product.substr(0, 40); }

class MachineType : public ServiceTest, public ::testing::WithParamInterface<MachineTypeCase> {};

TEST_P(MachineType, FromProductName) {
  InstallSmbios(svc(), SystemInfo("Maker", GetParam().product, "S"));
  char type[8] = "stale";
  EXPECT_EQ(SMBIOSGetMachineType(type), GetParam().result);
  EXPECT_STREQ(type, GetParam().type);
  EXPECT_EQ(svc().opens, 1) << "one query frame";
}

const MachineTypeCase kCases[] = {
    {"1234ABC", 1, "1234"},
    {"Server 100 -[56789XY]-", 1, "5678"},
    {"Server -[12A4]-", 2, ""},
    {"Server -[", 2, ""},
    {"12-[ab", 2, ""},  // the leading digits are not tried once a marker is found
    {"", 2, ""},
    {"123", 2, ""},
    {"-[12]-[3456]", 2, ""},  // only the first marker counts
    {"-[3456]-[12]", 1, "3456"},
    {"12\xB3"
     "4",
     2, ""},  // bytes from 0x80 up are not digits
    {"-[-[1234", 2, ""},
    {"[1234", 2, ""},
    // Only the first 255 characters are seen.
    {std::string(249, 'A') + "-[1234]", 1, "1234"},
    {std::string(250, 'A') + "-[1234]", 2, ""},
    {std::string(253, 'A') + "-[1234]", 2, ""},
    {"9876" + std::string(300, 'A') + "-[1234]", 1, "9876"},
};

INSTANTIATE_TEST_SUITE_P(Cases, MachineType, ::testing::ValuesIn(kCases));

using MachineTypeFailures = ServiceTest;

TEST_F(MachineTypeFailures, NoEntryPointOrNoTypeOneIsThree) {
  char type[8] = "stale";
  EXPECT_EQ(SMBIOSGetMachineType(type), 3);
  EXPECT_STREQ(type, "");
  InstallSmbios(svc(), BiosInfo("V", "1234", "D"));
  EXPECT_EQ(SMBIOSGetMachineType(type), 3);
}

TEST_F(MachineTypeFailures, ExactlyFiveBytesAreWritten) {
  InstallSmbios(svc(), SystemInfo("M", "-[8670]", "S"));
  char type[6] = {'x', 'x', 'x', 'x', 'x', '#'};
  EXPECT_EQ(SMBIOSGetMachineType(type), 1);
  EXPECT_STREQ(type, "8670");
  EXPECT_EQ(type[5], '#');
  EXPECT_EQ(SMBIOSGetMachineType(nullptr), 1);
}

}  // namespace
}  // namespace fwprobe::testing
