// The system and motherboard identities formatted from a VPD block.
#include <array>
#include <ostream>
#include <string>

#include "fwprobe.h"
#include "support/service_test.h"

namespace fwprobe::testing {
namespace {

class VpdFields : public ServiceTest {
 protected:
  // A loaded 48-byte block with the example identity fields.
  std::array<unsigned char, 256> Load(const std::string &board = "MB-1234 xyz",
                                      const std::string &sys1 = "ABC1234",
                                      const std::string &sys2 = "XY-98ZZ") {
    Bytes block = VpdBlock(0x30);
    Put(block, 22, sys2);
    Put(block, 29, board);
    Put(block, 40, sys1);
    svc().Place(kVpdAddress, block);
    std::array<unsigned char, 256> buf{};
    int length = 256;
    EXPECT_EQ(VPDLoadData(buf.data(), &length), 0);
    return buf;
  }
};

TEST_F(VpdFields, NothingBeforeASuccessfulLoad) {
  const std::array<unsigned char, 64> vpd{};
  char out[32] = "untouched";
  EXPECT_EQ(VPDGetSystem(out, sizeof out, vpd.data()), 61);
  EXPECT_EQ(VPDGetMotherboard(out, sizeof out, vpd.data()), 61);
  EXPECT_STREQ(out, "untouched");
}

TEST_F(VpdFields, SystemIdentity) {
  const auto vpd = Load();
  char out[32];
  EXPECT_EQ(VPDGetSystem(out, sizeof out, vpd.data()), 0);
  EXPECT_STREQ(out, "1SABC1234XY 98ZZ");
}

TEST_F(VpdFields, MotherboardIdentity) {
  const auto vpd = Load();
  char out[32];
  EXPECT_EQ(VPDGetMotherboard(out, sizeof out, vpd.data()), 0);
  EXPECT_STREQ(out, "MB 1234 xyz");
}

struct SizeCase {
  int size;
  const char *system;
  const char *board;
};

void PrintTo(const SizeCase &c, std::ostream *os) { *os << "size " << c.size; }

class VpdOutputSize : public VpdFields, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(VpdOutputSize, WritesMinOfFieldAndSizeLessOne) {
  const auto vpd = Load();
  std::array<char, 40> sys, board;
  sys.fill('#');
  board.fill('#');
  EXPECT_EQ(VPDGetSystem(sys.data(), GetParam().size, vpd.data()), 0);
  EXPECT_EQ(VPDGetMotherboard(board.data(), GetParam().size, vpd.data()), 0);
  EXPECT_STREQ(sys.data(), GetParam().system);
  EXPECT_STREQ(board.data(), GetParam().board);
  // Nothing is written past the NUL.
  EXPECT_EQ(sys[std::string(GetParam().system).size() + 1], '#');
  EXPECT_EQ(board[std::string(GetParam().board).size() + 1], '#');
}

INSTANTIATE_TEST_SUITE_P(Cases, VpdOutputSize,
                         ::testing::Values(SizeCase{17, "1SABC1234XY 98ZZ", "MB 1234 xyz"},
                                           SizeCase{30, "1SABC1234XY 98ZZ", "MB 1234 xyz"},
                                           SizeCase{16, "1SABC1234XY 98Z", "MB 1234 xyz"},
                                           SizeCase{12, "1SABC1234XY", "MB 1234 xyz"},
                                           SizeCase{11, "1SABC1234X", "MB 1234 xy"},
                                           SizeCase{5, "1SAB", "MB 1"}, SizeCase{1, "", ""}));

TEST_F(VpdFields, FilterKeepsOnlyAsciiLettersAndDigits) {
  Bytes block = VpdBlock(0x30);
  const std::string board = std::string("a\x00Z\x80\xFF\x7F\t9.-_", 11);
  Put(block, 29, board);
  svc().Place(kVpdAddress, block);
  std::array<unsigned char, 256> vpd{};
  int length = 256;
  ASSERT_EQ(VPDLoadData(vpd.data(), &length), 0);
  char out[16];
  EXPECT_EQ(VPDGetMotherboard(out, sizeof out, vpd.data()), 0);
  EXPECT_EQ(std::string(out), "a Z    9   ");
  // All-zero fields are all spaces: the result is always n characters long.
  EXPECT_EQ(VPDGetSystem(out, sizeof out, vpd.data()), 0);
  EXPECT_EQ(std::string(out), "1S             ");
}

TEST_F(VpdFields, BadArgumentsGive61AndWriteNothing) {
  const auto vpd = Load();
  char out[4] = "abc";
  for (int size : {0, -1, -100}) {
    EXPECT_EQ(VPDGetSystem(out, size, vpd.data()), 61);
    EXPECT_EQ(VPDGetMotherboard(out, size, vpd.data()), 61);
  }
  EXPECT_STREQ(out, "abc");
  EXPECT_EQ(VPDGetSystem(nullptr, 17, vpd.data()), 61);
  EXPECT_EQ(VPDGetSystem(out, 4, nullptr), 61);
  EXPECT_EQ(VPDGetMotherboard(out, 4, nullptr), 61);
  EXPECT_STREQ(out, "abc");
}

}  // namespace
}  // namespace fwprobe::testing
