// Every export against every point where the service can fail: the
// documented result, the caller's buffers as documented, and the service
// opened and closed in balance (checked after each test by ServiceTest).
// Leaks are caught by LeakSanitizer in the sanitizer build.
#include <array>
#include <functional>
#include <ostream>
#include <string>

#include "fwprobe.h"
#include "support/service_test.h"

namespace fwprobe::testing {
namespace {

enum class Fault {
  kNone,
  kNotReady,
  kOpenFails,
  kNothingFound,
  kFirstReadFails,
  kSecondReadFails,
  kNoSnapshot
};

const char *Name(Fault f) {
  switch (f) {
    case Fault::kNone:
      return "none";
    case Fault::kNotReady:
      return "not_ready";
    case Fault::kOpenFails:
      return "open_fails";
    case Fault::kNothingFound:
      return "nothing_found";
    case Fault::kFirstReadFails:
      return "first_read_fails";
    case Fault::kSecondReadFails:
      return "second_read_fails";
    case Fault::kNoSnapshot:
      return "no_snapshot";
  }
  return "?";
}

// Firmware on which every export succeeds when nothing fails.
void InstallEverything(PMemDouble &s) {
  InstallSmbios(s,
                Concat({BiosInfo("Vendor", "1.0", "01/02/2025"), SystemInfo("ZAQ Inc", "Srv -[8670]-", "SN1"),
                        OemStrings({"ZAQ Telvane ZAQ Marlix -["}), Structure(130, {1}, {"Pelorin"}),
                        Structure(38, {1})}));
  Bytes vpd = VpdBlock(0x30);
  Put(vpd, 22, "2222222");
  Put(vpd, 29, "33333333333");
  Put(vpd, 40, "4444444");
  s.Place(kVpdAddress, vpd);
}

void Apply(Fault f, PMemDouble &s) {
  switch (f) {
    case Fault::kNone:
      break;
    case Fault::kNotReady:
      s.initialized = false;
      break;
    case Fault::kOpenFails:
      s.openFails = true;
      break;
    case Fault::kNothingFound:
      s.forcedSearch = 0;
      break;
    case Fault::kFirstReadFails:
      s.failReadNumber = 1;
      break;
    case Fault::kSecondReadFails:
      s.failReadNumber = 2;
      break;
    case Fault::kNoSnapshot:
      SetSnapshotAllocationFailsForTesting(true);
      break;
  }
}

// One export as a caller uses it: its result and a text of what its buffers
// hold afterwards.
struct Call {
  int result;
  std::string buffers;
};

struct Export {
  const char *name;
  std::function<Call()> call;
};

const Export kExports[] = {
    {"isSmbios",
     [] {
       return Call{isSmbios(), ""};
     }},
    {"SMBIOSGetSystem",
     [] {
       std::array<char, 64> a{'x'}, b{'x'}, c{'x'};
       const int r = SMBIOSGetSystem(a.data(), b.data(), c.data());
       return Call{r, std::string(a.data()) + "|" + b.data() + "|" + c.data()};
     }},
    {"SMBIOSGetBiosInfo",
     [] {
       std::array<char, 64> a{'x'}, b{'x'}, c{'x'};
       const int r = SMBIOSGetBiosInfo(a.data(), b.data(), c.data());
       return Call{r, std::string(a.data()) + "|" + b.data() + "|" + c.data()};
     }},
    {"isZaqSmbios",
     [] {
       return Call{isZaqSmbios(), ""};
     }},
    {"SMBIOSGetMachineType",
     [] {
       std::array<char, 5> t{'x', 'x', 'x', 'x', 'x'};
       const int r = SMBIOSGetMachineType(t.data());
       return Call{r, std::string(t.data(), strnlen(t.data(), t.size()))};
     }},
    {"isPelorinSmbios",
     [] {
       return Call{isPelorinSmbios(), ""};
     }},
    {"SMBIOSIsH8Enabled",
     [] {
       return Call{SMBIOSIsH8Enabled(), ""};
     }},
    {"SMBIOSIsMarlixEnabled",
     [] {
       return Call{SMBIOSIsMarlixEnabled(), ""};
     }},
    {"SMBIOSQueryIpmi",
     [] {
       return Call{SMBIOSQueryIpmi(), ""};
     }},
    {"VPDLoadData",
     [] {
       std::array<unsigned char, 64> buf;
       buf.fill('.');
       int length = 64;
       const int r = VPDLoadData(buf.data(), &length);
       return Call{r, std::to_string(length) + "|" + std::string(buf.begin() + 2, buf.begin() + 5)};
     }},
    // The field exports touch no memory; they follow whatever the load gave.
    {"VPDGetSystem",
     [] {
       std::array<unsigned char, 64> vpd{};
       int length = 64;
       VPDLoadData(vpd.data(), &length);
       std::array<char, 17> out{'u', 0};
       const int r = VPDGetSystem(out.data(), 17, vpd.data());
       return Call{r, out.data()};
     }},
    {"VPDGetMotherboard",
     [] {
       std::array<unsigned char, 64> vpd{};
       int length = 64;
       VPDLoadData(vpd.data(), &length);
       std::array<char, 12> out{'u', 0};
       const int r = VPDGetMotherboard(out.data(), 12, vpd.data());
       return Call{r, out.data()};
     }},
};

// What each fault leaves the exports to answer. On the SMBIOS side the first
// read is the entry point and the second the table; on the VPD side the
// first is the header and the second the block.
struct Row {
  Fault fault;
  int isSmbios;       // whether the entry point is still found
  bool tableAnswers;  // whether the table queries get their table
  Call vpdLoad;       // VPDLoadData's result, length and header bytes
};

const Call kLoaded{0, "48|VPD"};
const Call kNotLoaded{64, "64|..."};

const Row kRows[] = {
    {Fault::kNone, 1, true, kLoaded},
    {Fault::kNotReady, 0, false, {63, "64|..."}},
    {Fault::kOpenFails, 0, false, {62, "64|..."}},
    {Fault::kNothingFound, 0, false, kNotLoaded},
    {Fault::kFirstReadFails, 0, false, kNotLoaded},
    {Fault::kSecondReadFails, 1, false, {64, "48|..."}},  // the length was lowered before the read
    {Fault::kNoSnapshot, 1, false, kLoaded},              // the VPD loader allocates nothing
};

// The documented answer of export i under row's fault.
Call Expected(const Row &row, size_t i) {
  // The table queries with their table, and with none (no-entry-point results).
  static const Call kAnswers[] = {{},
                                  {0, "ZAQ Inc|Srv -[8670]-|SN1"},
                                  {0, "Vendor|1.0|01/02/2025"},
                                  {1, ""},
                                  {1, "8670"},
                                  {1, ""},
                                  {1, ""},
                                  {1, ""},
                                  {1, ""}};
  static const Call kNoTable[] = {{},      {1, "||"}, {1, "||"}, {0, ""}, {3, ""},
                                  {0, ""}, {0, ""},   {0, ""},   {0, ""}};
  if (i == 0) return {row.isSmbios, ""};
  if (i < 9) return row.tableAnswers ? kAnswers[i] : kNoTable[i];
  if (i == 9) return row.vpdLoad;
  if (row.vpdLoad.result != 0) return {61, "u"};  // the field exports leave the output untouched
  return i == 10 ? Call{0, "1S44444442222222"} : Call{0, "33333333333"};
}

struct Cell {
  Fault fault;
  size_t exportIndex;
};

void PrintTo(const Cell &c, std::ostream *os) { *os << Name(c.fault) << "/" << kExports[c.exportIndex].name; }

class FaultMatrix : public ServiceTest, public ::testing::WithParamInterface<Cell> {};

TEST_P(FaultMatrix, DocumentedResultAndBuffers) {
  const Cell cell = GetParam();
  InstallEverything(svc());
  Apply(cell.fault, svc());
  const Call got = kExports[cell.exportIndex].call();
  const Row &row =
      *std::find_if(std::begin(kRows), std::end(kRows), [&](const Row &r) { return r.fault == cell.fault; });
  const Call want = Expected(row, cell.exportIndex);
  EXPECT_EQ(got.result, want.result);
  EXPECT_EQ(got.buffers, want.buffers);
  EXPECT_LE(svc().opens, 2) << "one open per service-using call";
}

std::vector<Cell> AllCells() {
  std::vector<Cell> cells;
  for (const Row &row : kRows)
    for (size_t i = 0; i < std::size(kExports); ++i) cells.push_back({row.fault, i});
  return cells;
}

INSTANTIATE_TEST_SUITE_P(AllExports, FaultMatrix, ::testing::ValuesIn(AllCells()), [](const auto &p) {
  return std::string(Name(p.param.fault)) + "_" + kExports[p.param.exportIndex].name;
});

}  // namespace
}  // namespace fwprobe::testing
