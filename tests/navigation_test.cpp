// Structure navigation over snapshots, malformed ones included. Every
// snapshot here is a heap block of exactly the table's length, so the
// sanitizers catch any read past its end.
#include "smbios/navigation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <ostream>
#include <string>

#include "support/fixtures.h"

namespace fwprobe::testing {
namespace {

// A heap copy of exactly bytes.size() bytes.
class Snap {
 public:
  explicit Snap(const Bytes &bytes) : size_(bytes.size()), data_(new uint8_t[bytes.size()]) {
    if (size_ != 0) std::memcpy(data_.get(), bytes.data(), size_);
  }
  Table table() const { return {data_.get(), size_}; }

 private:
  size_t size_;
  std::unique_ptr<uint8_t[]> data_;
};

std::string Str(const std::optional<std::string_view> &s) {
  return s ? std::string(*s) : std::string("<none>");
}

TEST(Navigation, EmptySnapshotFindsNothing) {
  const Snap snap(Bytes{});
  for (uint8_t type : {uint8_t{0}, uint8_t{1}, uint8_t{127}}) {
    EXPECT_FALSE(SMBIOSFindStructure(snap.table(), std::nullopt, type));
    EXPECT_FALSE(SMBIOSFindFirstStructure(snap.table(), type));
  }
  EXPECT_EQ(StructureByte(snap.table(), 0, 4), 0);
}

TEST(Navigation, TypeZeroMeansAnyForFindButNotForFindFirst) {
  const Snap snap(Concat({SystemInfo("M", "P", "S"), Structure(3, {})}));
  EXPECT_EQ(SMBIOSFindStructure(snap.table(), std::nullopt, 0), Position{0});
  EXPECT_FALSE(SMBIOSFindFirstStructure(snap.table(), 0));
  // With after given, type 0 gives the very next structure.
  const Position next = SMBIOSFindStructure(snap.table(), Position{0}, 0);
  ASSERT_TRUE(next);
  EXPECT_EQ(snap.table()[*next], 3);
  EXPECT_FALSE(SMBIOSFindStructure(snap.table(), next, 0));
}

TEST(Navigation, StepPassesFormattedAreaAndDoubleNul) {
  // Formatted length 5, no strings: the next structure starts 7 bytes on.
  const Snap snap(Concat({Structure(8, {0x01}), Structure(9, {})}));
  EXPECT_EQ(SMBIOSNextStructure(snap.table(), 0), Position{7});
  EXPECT_EQ(Str(SMBIOSGetString(snap.table(), 0, 1)), "<none>");
  const auto empty = SMBIOSGetString(snap.table(), 0, 0);
  ASSERT_TRUE(empty);
  EXPECT_EQ(*empty, "");
}

TEST(Navigation, StringsByNumber) {
  const Snap snap(Structure(11, {2}, {"A", "B"}));
  const struct {
    uint8_t number;
    const char *want;
  } cases[] = {{0, ""}, {1, "A"}, {2, "B"}, {3, "<none>"}, {255, "<none>"}};
  for (const auto &c : cases)
    EXPECT_EQ(Str(SMBIOSGetString(snap.table(), 0, c.number)), c.want) << int{c.number};
}

TEST(Navigation, EnumeratesOneTypeInTableOrder) {
  const Snap snap(
      Concat({OemStrings({"first"}), Structure(2, {}), Structure(11, {1}, {"second"}), Structure(127, {})}));
  const Position a = SMBIOSFindStructure(snap.table(), std::nullopt, 11);
  ASSERT_TRUE(a);
  const Position b = SMBIOSFindStructure(snap.table(), a, 11);
  ASSERT_TRUE(b);
  EXPECT_EQ(Str(SMBIOSGetString(snap.table(), *a, 1)), "first");
  EXPECT_EQ(Str(SMBIOSGetString(snap.table(), *b, 1)), "second");
  EXPECT_FALSE(SMBIOSFindStructure(snap.table(), b, 11));
}

TEST(Navigation, EndOfTableStructureDoesNotStopTheWalk) {
  const Snap snap(Concat({Structure(127, {}), Structure(38, {})}));
  EXPECT_TRUE(SMBIOSFindFirstStructure(snap.table(), 38));
}

// Malformed tables: the walk ends where the table stops making sense, and
// nothing is read beyond the snapshot.
struct Malformed {
  const char *name;
  Bytes table;
  uint8_t wanted;  // a type that lies beyond the damage, or is the damaged one
  bool found;
};

void PrintTo(const Malformed &c, std::ostream *os) { *os << c.name; }

const Malformed kMalformed[] = {
    // Formatted length runs past the end.
    {"formatted_area_past_end", Bytes{2, 40, 0, 0, 1, 2, 3}, 38, false},
    // The string-set has no closing double NUL before the end.
    {"string_set_past_end", Bytes{2, 4, 0, 0, 'a', 'b', 0, 'c'}, 38, false},
    {"string_set_ends_in_one_nul", Bytes{2, 4, 0, 0, 'a', 0}, 38, false},
    // The structure itself matches even though its strings are broken.
    {"damaged_structure_still_matches", Bytes{38, 40, 0, 0}, 38, true},
    // Formatted lengths below 4 are used as they are; the step still advances.
    {"formatted_length_zero", Concat({Bytes{2, 0, 0}, Structure(38, {})}), 38, true},
    {"formatted_length_one", Concat({Bytes{2, 1, 0, 0}, Structure(38, {})}), 38, true},
    {"formatted_length_two", Concat({Bytes{2, 2, 0, 0}, Structure(38, {})}), 38, true},
    {"lone_type_byte", Bytes{2}, 38, false},
    {"type_and_length_only", Bytes{2, 4}, 38, false},
};

class NavigationMalformed : public ::testing::TestWithParam<Malformed> {};

TEST_P(NavigationMalformed, WalkStaysInsideSnapshot) {
  const Snap snap(GetParam().table);
  EXPECT_EQ(SMBIOSFindStructure(snap.table(), std::nullopt, GetParam().wanted).has_value(), GetParam().found);
  EXPECT_EQ(SMBIOSFindFirstStructure(snap.table(), GetParam().wanted).has_value(), GetParam().found);
  // Whatever the strings of the first structure, looking them up stays inside.
  for (unsigned n = 0; n < 4; ++n) (void)SMBIOSGetString(snap.table(), 0, static_cast<uint8_t>(n));
  for (Position p = 0; p; p = SMBIOSNextStructure(snap.table(), *p)) {
    ASSERT_LE(*p, snap.table().size());
    if (*p == snap.table().size()) break;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, NavigationMalformed, ::testing::ValuesIn(kMalformed),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(Navigation, StringWhoseNulLiesPastTheEndIsAbsent) {
  const Snap snap(Bytes{11, 5, 0, 0, 2, 'o', 'k', 0, 'c', 'u', 't'});
  EXPECT_EQ(Str(SMBIOSGetString(snap.table(), 0, 1)), "ok");
  EXPECT_EQ(Str(SMBIOSGetString(snap.table(), 0, 2)), "<none>");
}

TEST(Navigation, FixedOffsetBytesBeyondTheEndReadAsZero) {
  const Snap snap(Bytes{1, 4, 0, 0, 7});
  EXPECT_EQ(StructureByte(snap.table(), 0, 4), 7);
  EXPECT_EQ(StructureByte(snap.table(), 0, 5), 0);
  EXPECT_EQ(StructureByte(snap.table(), 3, 4), 0);
  EXPECT_EQ(StructureByte(snap.table(), 99, 0), 0);
}

}  // namespace
}  // namespace fwprobe::testing
