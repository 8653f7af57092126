// The VPD block loader.
#include <algorithm>
#include <ostream>
#include <string>

#include "fwprobe.h"
#include "support/service_test.h"

namespace fwprobe::testing {
namespace {

class VpdLoader : public ServiceTest {
 protected:
  // A 48-byte block with recognisable content after the header.
  void PlaceBlock(uint8_t blockLength = 0x30, uint32_t at = kVpdAddress) {
    Bytes block = VpdBlock(blockLength, 64);
    for (size_t i = 6; i < block.size(); ++i) block[i] = static_cast<uint8_t>(i);
    svc().Place(at, block);
  }
  std::array<unsigned char, 256> buffer() {
    std::array<unsigned char, 256> b;
    b.fill(0xEE);
    return b;
  }
};

struct LengthCase {
  uint8_t blockLength;
  int capacity;
  int lengthAfter;
};

void PrintTo(const LengthCase &c, std::ostream *os) {
  *os << "block " << int{c.blockLength} << " capacity " << c.capacity;
}

class VpdLengthRule : public VpdLoader, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(VpdLengthRule, ReadsTheSmallerOfBlockAndCapacity) {
  PlaceBlock(GetParam().blockLength);
  auto buf = buffer();
  int length = GetParam().capacity;
  EXPECT_EQ(VPDLoadData(buf.data(), &length), 0);
  EXPECT_EQ(length, GetParam().lengthAfter);
  const auto n = static_cast<size_t>(GetParam().lengthAfter);
  if (n > 0) {
    EXPECT_EQ(buf[0], 0xAA);
  }
  for (size_t i = 6; i < n; ++i) ASSERT_EQ(buf[i], i) << i;
  for (size_t i = n; i < buf.size(); ++i)
    ASSERT_EQ(buf[i], 0xEE) << "byte " << i << " written past the length";
  EXPECT_TRUE(VPDLoaded);
}

INSTANTIATE_TEST_SUITE_P(Cases, VpdLengthRule,
                         ::testing::Values(LengthCase{0x30, 256, 48}, LengthCase{0x30, 16, 16},
                                           LengthCase{0x30, 48, 48}, LengthCase{0x30, 49, 48},
                                           LengthCase{0x30, 47, 47}, LengthCase{0x30, 0, 0},
                                           LengthCase{0x00, 256, 0}, LengthCase{0xFF, 256, 255}));

struct FailureCase {
  const char *name;
  void (*arrange)(PMemDouble &);
  int result;
  int opens;
};

void PrintTo(const FailureCase &c, std::ostream *os) { *os << c.name; }

const FailureCase kFailures[] = {
    {"not_ready", [](PMemDouble &s) { s.initialized = false; }, 63, 0},
    {"open_fails", [](PMemDouble &s) { s.openFails = true; }, 62, 0},
    {"no_signature", [](PMemDouble &s) { s.regions.clear(); }, 64, 1},
    {"header_unreadable", [](PMemDouble &s) { s.failReadNumber = 1; }, 64, 1},
    {"search_misreports", [](PMemDouble &s) { s.forcedSearch = 0xF0100; }, 64, 1},  // no header there
};

class VpdFailures : public VpdLoader, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(VpdFailures, LeaveLengthBufferAndFlagUntouched) {
  PlaceBlock();
  GetParam().arrange(svc());
  auto buf = buffer();
  int length = 256;
  EXPECT_EQ(VPDLoadData(buf.data(), &length), GetParam().result);
  EXPECT_EQ(length, 256);
  EXPECT_TRUE(std::all_of(buf.begin(), buf.end(), [](unsigned char c) { return c == 0xEE; }));
  EXPECT_FALSE(VPDLoaded);
  EXPECT_EQ(svc().opens, GetParam().opens);
}

INSTANTIATE_TEST_SUITE_P(Cases, VpdFailures, ::testing::ValuesIn(kFailures),
                         [](const auto &p) { return std::string(p.param.name); });

TEST_F(VpdLoader, FailedBlockReadKeepsTheLoweredLength) {
  PlaceBlock(0x30);
  svc().failReadNumber = 2;
  auto buf = buffer();
  int length = 256;
  EXPECT_EQ(VPDLoadData(buf.data(), &length), 64);
  EXPECT_EQ(length, 48);
  EXPECT_FALSE(VPDLoaded);
}

TEST_F(VpdLoader, LowerOfTwoSignaturesWins) {
  PlaceBlock(0x30, 0xF9000);
  Bytes lower = VpdBlock(0x20, 0x20);
  lower[6] = 0x77;
  svc().Place(0xF1000, lower);
  auto buf = buffer();
  int length = 256;
  EXPECT_EQ(VPDLoadData(buf.data(), &length), 0);
  EXPECT_EQ(length, 0x20);
  EXPECT_EQ(buf[6], 0x77);
}

TEST_F(VpdLoader, HeaderMismatchIsNotRetried) {
  // The service reports a match where the header is wrong (a service that
  // matches loosely); a good block higher up is not looked for.
  svc().Place(0xF1000, Bytes{0xAA, 0x55, 'V', 'P', 'X', 0x30});
  PlaceBlock(0x30, 0xF9000);
  svc().forcedSearch = 0xF1000;
  auto buf = buffer();
  int length = 256;
  EXPECT_EQ(VPDLoadData(buf.data(), &length), 64);
  EXPECT_EQ(svc().searches, 1);
  EXPECT_EQ(length, 256);
}

TEST_F(VpdLoader, SignatureOffTheStepIsNotFound) {
  PlaceBlock(0x30, kVpdAddress + 8);
  auto buf = buffer();
  int length = 256;
  EXPECT_EQ(VPDLoadData(buf.data(), &length), 64);
}

TEST_F(VpdLoader, FlagStaysTrueAfterALaterFailure) {
  PlaceBlock();
  auto buf = buffer();
  int length = 256;
  ASSERT_EQ(VPDLoadData(buf.data(), &length), 0);
  svc().regions.clear();
  length = 256;
  EXPECT_EQ(VPDLoadData(buf.data(), &length), 64);
  EXPECT_TRUE(VPDLoaded);
}

TEST_F(VpdLoader, BadArgumentsGive64AndTouchNothing) {
  PlaceBlock();
  auto buf = buffer();
  int negative = -1;
  EXPECT_EQ(VPDLoadData(buf.data(), &negative), 64);
  EXPECT_EQ(negative, -1);
  EXPECT_EQ(buf[0], 0xEE);
  int length = 256;
  EXPECT_EQ(VPDLoadData(nullptr, &length), 64);
  EXPECT_EQ(length, 256);
  EXPECT_EQ(VPDLoadData(buf.data(), nullptr), 64);
  EXPECT_EQ(svc().opens, 0);
  EXPECT_FALSE(VPDLoaded);
}

}  // namespace
}  // namespace fwprobe::testing
