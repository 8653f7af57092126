// Entry-point location, the table snapshot and the query frame.
#include <ostream>
#include <string>

#include "fwprobe.h"
#include "physmem/physmem.h"
#include "support/service_test.h"

namespace fwprobe::testing {
namespace {

using Locator = ServiceTest;

const Bytes kTable =
    Concat({BiosInfo("Vendor A", "1.0", "01/02/2025"), SystemInfo("ZAQ Inc", "8670-[1234]", "SN1")});

TEST_F(Locator, FindsValidEntryPointAndSetsModuleState) {
  InstallSmbios(svc(), kTable);
  EXPECT_EQ(SMBIOSLocateTable(), kLocated);
  EXPECT_TRUE(svc().isOpen) << "the service stays open for the copy";
  EXPECT_EQ(SMBIOSTableAddress, kTableAddress);
  EXPECT_EQ(SMBIOSTableLength, kTable.size());
  PMemClose();
}

struct LocateCase {
  const char *name;
  void (*arrange)(PMemDouble &);
  int result;
  int opens;
};

void PrintTo(const LocateCase &c, std::ostream *os) { *os << c.name; }

const LocateCase kLocateCases[] = {
    {"not_ready", [](PMemDouble &s) { s.initialized = false; }, kNotReady, 0},
    {"open_fails", [](PMemDouble &s) { s.openFails = true; }, kOpenFailed, 0},
    {"no_anchor", [](PMemDouble &) {}, kNoEntryPoint, 1},
    {"entry_point_unreadable",
     [](PMemDouble &s) {
       InstallSmbios(s, kTable);
       s.failAllReads = true;
     },
     kReadFailed, 1},
    {"only_bad_checksums",
     [](PMemDouble &s) {
       s.Place(0xF0000, EntryPoint(kTableAddress, 10, false));
       s.Place(0xFFFF0, EntryPoint(kTableAddress, 10, false));
     },
     kNoEntryPoint, 1},
    {"anchor_off_the_16_byte_step", [](PMemDouble &s) { s.Place(0xF0008, EntryPoint(kTableAddress, 10)); },
     kNoEntryPoint, 1},
    {"search_returns_below_cursor", [](PMemDouble &s) { s.forcedSearch = 0xE0000; }, kNoEntryPoint, 1},
    {"search_returns_above_area", [](PMemDouble &s) { s.forcedSearch = 0x100000; }, kNoEntryPoint, 1},
};

class LocatorResults : public ServiceTest, public ::testing::WithParamInterface<LocateCase> {};

TEST_P(LocatorResults, GivesResultAndClosesService) {
  const LocateCase &c = GetParam();
  if (c.arrange != nullptr) c.arrange(svc());
  EXPECT_EQ(SMBIOSLocateTable(), c.result);
  EXPECT_EQ(svc().opens, c.opens);
  EXPECT_EQ(isSmbios(), 0);
  // Every table query answers "no entry point" and leaves nothing behind.
  char a[64] = "x", b[64] = "x", d[64] = "x";
  EXPECT_EQ(SMBIOSGetSystem(a, b, d), 1);
  EXPECT_STREQ(a, "");
  EXPECT_EQ(SMBIOSGetBiosInfo(a, b, d), 1);
  EXPECT_EQ(SMBIOSQueryIpmi(), 0);
  EXPECT_EQ(svc().opens, c.opens * 5) << "each call opens the service once";
}

INSTANTIATE_TEST_SUITE_P(Cases, LocatorResults, ::testing::ValuesIn(kLocateCases),
                         [](const auto &p) { return std::string(p.param.name); });

TEST_F(Locator, NotReadyNeverOpens) {
  svc().initialized = false;
  EXPECT_EQ(isSmbios(), 0);
  EXPECT_EQ(svc().opens, 0);
  EXPECT_EQ(svc().searches, 0);
}

TEST_F(Locator, ResumesAfterBadChecksum) {
  // A bad candidate naming another table sits below the valid one.
  const Bytes other = BiosInfo("Wrong", "0", "0");
  svc().Place(0xF0000, EntryPoint(0x200000, static_cast<uint16_t>(other.size()), false));
  svc().Place(0x200000, other);
  svc().Place(0xF0100, EntryPoint(kTableAddress, static_cast<uint16_t>(kTable.size())));
  svc().Place(kTableAddress, kTable);
  char v[64], ver[64], d[64];
  EXPECT_EQ(SMBIOSGetBiosInfo(v, ver, d), 0);
  EXPECT_STREQ(v, "Vendor A");
  EXPECT_EQ(svc().searches, 2);
}

TEST_F(Locator, IsSmbiosDoesNotCopyTheTable) {
  InstallSmbios(svc(), kTable);
  EXPECT_EQ(isSmbios(), 1);
  EXPECT_EQ(svc().reads, 1) << "only the entry point is read";
  EXPECT_EQ(svc().opens, 1);
}

TEST_F(Locator, EachCallLocatesAndCopiesAfresh) {
  InstallSmbios(svc(), kTable);
  char m[64], p[64], s[64];
  ASSERT_EQ(SMBIOSGetSystem(m, p, s), 0);
  // The firmware changes between calls: nothing may be cached.
  const Bytes changed = SystemInfo("Other", "P2", "S2");
  InstallSmbios(svc(), changed);
  ASSERT_EQ(SMBIOSGetSystem(m, p, s), 0);
  EXPECT_STREQ(m, "Other");
  EXPECT_EQ(svc().opens, 2);
  EXPECT_EQ(svc().reads, 4) << "entry point and table, twice";
}

TEST_F(Locator, FailedTableReadIsNoEntryPoint) {
  InstallSmbios(svc(), kTable);
  svc().failReadNumber = 2;  // the table read
  char m[64] = "x", p[64] = "x", s[64] = "x";
  EXPECT_EQ(SMBIOSGetSystem(m, p, s), 1);
  EXPECT_STREQ(p, "");
  svc().failReadNumber = 4;
  EXPECT_EQ(SMBIOSQueryIpmi(), 0);
  svc().failReadNumber = 6;
  EXPECT_EQ(SMBIOSGetMachineType(m), 3);
}

TEST_F(Locator, SnapshotThatCannotBeAllocatedIsNoEntryPoint) {
  InstallSmbios(svc(), kTable);
  SetSnapshotAllocationFailsForTesting(true);
  char m[64] = "x", p[64] = "x", s[64] = "x";
  EXPECT_EQ(SMBIOSGetSystem(m, p, s), 1);
  EXPECT_EQ(SMBIOSGetBiosInfo(m, p, s), 1);
  EXPECT_EQ(isZaqSmbios(), 0);
  EXPECT_EQ(svc().reads, 3) << "the table is never read into nothing";
  EXPECT_EQ(svc().closes, 3);
}

TEST_F(Locator, TableLengthZeroIsAnEmptySnapshot) {
  InstallSmbios(svc(), kTable, 0);
  char m[64], p[64], s[64];
  EXPECT_EQ(SMBIOSGetSystem(m, p, s), 2);
  EXPECT_EQ(SMBIOSGetBiosInfo(m, p, s), 2);
  EXPECT_EQ(SMBIOSGetMachineType(m), 3);
  EXPECT_EQ(SMBIOSQueryIpmi(), 0);
  EXPECT_EQ(isSmbios(), 1);
}

TEST_F(Locator, TableLength0xFFFFIsWalkedToTheEnd) {
  // Minimal structures (type 2, no strings: 6 bytes each) filling 65,535
  // bytes, with the IPMI structure last.
  Bytes table;
  const Bytes filler = Structure(2, {});
  const Bytes ipmi = Structure(38, {});
  while (0xFFFF - table.size() - ipmi.size() >= filler.size() + 7)
    table.insert(table.end(), filler.begin(), filler.end());
  // One structure with a string of the right length fills the rest exactly.
  const size_t rest = 0xFFFF - table.size() - ipmi.size();
  table = Concat({table, Structure(2, {}, {std::string(rest - 6, 'x')}), ipmi});
  ASSERT_EQ(table.size(), 0xFFFFu);
  InstallSmbios(svc(), table);
  EXPECT_EQ(SMBIOSQueryIpmi(), 1);
  EXPECT_EQ(svc().bytesRead, 15u + 0xFFFF);
}

}  // namespace
}  // namespace fwprobe::testing
