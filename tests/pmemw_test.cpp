// The physical-memory service: each source, the legacy view, the search and
// the selection, through the five operations as the library calls them.
#include "pmemw.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "legacy_view.h"
#include "physmem/physmem.h"
#include "support/fixtures.h"
#include "windows_source.h"

namespace fwprobe::testing {
namespace {

namespace fs = std::filesystem;

class Pmemw : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("pmemw_test_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    ::unsetenv("PMEMW_SOURCE");
  }
  void TearDown() override {
    PMemSelectSource(nullptr);
    fs::remove_all(dir_);
  }
  std::string Write(const std::string &name, const Bytes &bytes) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return p.string();
  }
  // A memory image of size bytes with the given pieces placed at their addresses.
  std::string Image(const std::string &name, size_t size,
                    std::initializer_list<std::pair<uint32_t, Bytes>> pieces) {
    Bytes image(size, 0);
    for (const auto &[at, bytes] : pieces) std::copy(bytes.begin(), bytes.end(), image.begin() + at);
    return Write(name, image);
  }
  // Reads length bytes at address through the service, opened and closed.
  Bytes ReadVia(uint32_t address, uint32_t length, bool *ok = nullptr) {
    Bytes out(length, 0xEE);
    EXPECT_EQ(PMemIsInitialized(), 1);
    EXPECT_EQ(PMemOpen(), 1);
    const bool read = PMemRead(out.data(), address, length) == 0;
    PMemClose();
    if (ok != nullptr) *ok = read;
    return out;
  }
  uint32_t Search(const char *pattern, uint32_t start = 0xF0000, uint32_t end = 0xFFFFF, uint32_t step = 16) {
    EXPECT_EQ(PMemOpen(), 1);
    const uint32_t found = PMemSearch(pattern, start, end, step);
    PMemClose();
    return found;
  }
  // Where the entry point the service shows names its table, and the table.
  Bytes TableShown() {
    const uint32_t at = Search("_DMI_");
    EXPECT_NE(at, 0u);
    const Bytes ep = ReadVia(at, 15);
    const auto info = pmemw::ParseEntryPoint(ep);
    EXPECT_TRUE(info) << "the entry point shown must be valid";
    if (!info) return {};
    return ReadVia(static_cast<uint32_t>(info->address), info->length);
  }
  fs::path dir_;
};

const Bytes kTable = Concat({BiosInfo("V", "1", "D"), SystemInfo("M", "P", "S")});

// An SMBIOS 2.x entry point ("_SM_" with "_DMI_" 16 bytes on).
Bytes Sm2EntryPoint(uint32_t tableAddress, uint16_t length) {
  Bytes ep{'_', 'S', 'M', '_', 0, 0x1F, 2, 8, 0, 0, 0, 0, 0, 0, 0, 0};
  const Bytes dmi = EntryPoint(tableAddress, length);
  ep.insert(ep.end(), dmi.begin(), dmi.end());
  SetChecksum(ep, 4);
  return ep;
}

// An SMBIOS 3 entry point.
Bytes Sm3EntryPoint(uint64_t tableAddress, uint32_t maxLength) {
  Bytes ep{'_', 'S', 'M', '3', '_', 0, 0x18, 3, 2, 0, 1, 0};
  for (int i = 0; i < 4; ++i) ep.push_back(static_cast<uint8_t>(maxLength >> (8 * i)));
  for (int i = 0; i < 8; ++i) ep.push_back(static_cast<uint8_t>(tableAddress >> (8 * i)));
  SetChecksum(ep, 5);
  return ep;
}

// A dump as dmidecode writes it: entry point at 0, table at 32.
Bytes Dump(const Bytes &entryPoint, const Bytes &table) {
  Bytes dump = entryPoint;
  dump.resize(32, 0);
  dump.insert(dump.end(), table.begin(), table.end());
  return dump;
}

TEST_F(Pmemw, ImageReadsByteNAtAddressNAndFailsPastItsEnd) {
  const std::string path = Image("m.img", 0x100000, {{0xF1230, Bytes{1, 2, 3}}});
  ASSERT_EQ(PMemSelectSource(("image:" + path).c_str()), 1);
  EXPECT_EQ(ReadVia(0xF1230, 3), (Bytes{1, 2, 3}));
  bool ok = true;
  ReadVia(0xFFFFE, 4, &ok);
  EXPECT_FALSE(ok);
  EXPECT_NE(std::string(PMemSourceName()).find(path), std::string::npos);
}

TEST_F(Pmemw, SearchGivesTheLowestMatchOnTheStep) {
  const std::string path = Image("m.img", 0x100000,
                                 {{0xF0008, Bytes{'_', 'D', 'M', 'I', '_'}},  // off the step
                                  {0xF3FFE, Bytes{'_', 'D', 'M', 'I', '_'}},  // off the step, across a window
                                  {0xF4000, Bytes{'_', 'D', 'M', 'I', '_'}},
                                  {0xF8000, Bytes{'_', 'D', 'M', 'I', '_'}},
                                  {0xFFFF0, Bytes{'A', 'B'}}});
  ASSERT_EQ(PMemSelectSource(("image:" + path).c_str()), 1);
  EXPECT_EQ(Search("_DMI_"), 0xF4000u);
  EXPECT_EQ(Search("_DMI_", 0xF4010), 0xF8000u);
  EXPECT_EQ(Search("_DMI_", 0xF0000, 0xF3FF0), 0u);
  EXPECT_EQ(Search("_DMI_", 0xF0008, 0xFFFFF, 8), 0xF0008u);
  EXPECT_EQ(Search("AB"), 0xFFFF0u) << "the last step of the range is tried";
  EXPECT_EQ(Search("ABC"), 0u) << "a pattern running past the image's end is no match";
  EXPECT_EQ(Search("_DMI_", 0xF4000, 0xF4000), 0xF4000u);
}

TEST_F(Pmemw, ClosedServiceNeitherSearchesNorReads) {
  const std::string path = Image("m.img", 0x100000, {{0xF4000, Bytes{'_', 'D', 'M', 'I', '_'}}});
  ASSERT_EQ(PMemSelectSource(("image:" + path).c_str()), 1);
  uint8_t byte = 0;
  EXPECT_EQ(PMemSearch("_DMI_", 0xF0000, 0xFFFFF, 16), 0u);
  EXPECT_NE(PMemRead(&byte, 0xF4000, 1), 0);
}

TEST_F(Pmemw, Sm2DumpShowsLegacyEntryPointAndTableAtThirtyTwo) {
  const std::string path =
      Write("t.dump", Dump(Sm2EntryPoint(32, static_cast<uint16_t>(kTable.size())), kTable));
  ASSERT_EQ(PMemSelectSource(("dump:" + path).c_str()), 1) << PMemSourceError();
  EXPECT_EQ(TableShown(), kTable);
  const uint32_t at = Search("_DMI_");
  EXPECT_GE(at, 0xF0000u);
}

TEST_F(Pmemw, Sm3DumpIsShownThroughALegacyEntryPoint) {
  // The SMBIOS 3 length is a maximum; the dump holds what the table uses.
  const std::string path = Write("t.dump", Dump(Sm3EntryPoint(32, 0x1000), kTable));
  ASSERT_EQ(PMemSelectSource(("dump:" + path).c_str()), 1) << PMemSourceError();
  EXPECT_EQ(TableShown(), kTable);
}

TEST_F(Pmemw, UnusableDumpsSayWhy) {
  Bytes big(0x10000, 0);
  const struct {
    const char *name;
    Bytes bytes;
    const char *says;
  } cases[] = {
      {"not_a_dump", Bytes(64, 'x'), "not an SMBIOS dump"},
      {"cut_short", Dump(Sm2EntryPoint(32, 400), kTable), "cut short"},
      {"too_big_for_legacy", Dump(Sm3EntryPoint(32, 0x20000), big), "legacy entry point"},
      {"above_4gib", Dump(Sm3EntryPoint(0x1'0000'0000ULL, 0x1000), kTable), "legacy entry point"},
  };
  for (const auto &c : cases) {
    const std::string path = Write(std::string(c.name) + ".dump", c.bytes);
    EXPECT_EQ(PMemSelectSource(("dump:" + path).c_str()), 0) << c.name;
    EXPECT_EQ(PMemIsInitialized(), 0) << c.name;
    EXPECT_EQ(PMemOpen(), 0) << c.name;
    EXPECT_NE(std::string(PMemSourceError()).find(c.says), std::string::npos)
        << c.name << ": " << PMemSourceError();
  }
  EXPECT_EQ(PMemSelectSource(("dump:" + (dir_ / "missing.dump").string()).c_str()), 0);
  EXPECT_NE(std::string(PMemSourceError()).find("cannot open"), std::string::npos);
}

TEST_F(Pmemw, SysfsTablesAreShownLikeADump) {
  fs::create_directories(dir_ / "tables");
  Write("tables/smbios_entry_point", Sm2EntryPoint(0x7FFE0000, static_cast<uint16_t>(kTable.size())));
  Write("tables/DMI", kTable);
  ASSERT_EQ(PMemSelectSource(("sysfs:" + (dir_ / "tables").string()).c_str()), 1) << PMemSourceError();
  EXPECT_EQ(TableShown(), kTable);
}

TEST_F(Pmemw, EnvironmentChoosesTheSourceUntilOneIsSelected) {
  const std::string a = Image("a.img", 0x100000, {{0xF0000, Bytes{'A'}}});
  const std::string b = Image("b.img", 0x100000, {{0xF0000, Bytes{'B'}}});
  ::setenv("PMEMW_SOURCE", ("image:" + a).c_str(), 1);
  EXPECT_EQ(ReadVia(0xF0000, 1), Bytes{'A'});
  ::setenv("PMEMW_SOURCE", ("image:" + b).c_str(), 1);
  EXPECT_EQ(ReadVia(0xF0000, 1), Bytes{'B'});
  ASSERT_EQ(PMemSelectSource(("image:" + a).c_str()), 1);
  EXPECT_EQ(ReadVia(0xF0000, 1), Bytes{'A'}) << "a selection overrides the environment";
  ::setenv("PMEMW_SOURCE", "nonsense", 1);
  PMemSelectSource(nullptr);
  EXPECT_EQ(PMemIsInitialized(), 0);
  EXPECT_NE(std::string(PMemSourceError()).find("unknown source"), std::string::npos);
}

// This machine: /dev/mem and the sysfs tables, given here as files.
class DefaultSource : public Pmemw {
 protected:
  std::string Tables() {
    fs::create_directories(dir_ / "tables");
    Write("tables/smbios_entry_point", Sm3EntryPoint(0x7FFE0000, 0x1000));
    Write("tables/DMI", kTable);
    return (dir_ / "tables").string();
  }
  // Puts the service on the default source built over these paths.
  bool Use(const std::string &devMem, const std::string &tables) {
    auto opened = pmemw::OpenDefault(devMem, tables);
    error_ = opened.error;
    source_ = std::move(opened.source);
    return source_ != nullptr;
  }
  Bytes Read(uint32_t address, size_t length) {
    Bytes out(length);
    EXPECT_TRUE(source_->Read(address, out));
    return out;
  }
  // The lowest valid "_DMI_" at a 16-byte step, as the library finds it.
  std::optional<pmemw::TableInfo> EntryPointShown() {
    Bytes area = Read(0xF0000, 0x10000);
    for (size_t at = 0; at + 15 <= area.size(); at += 16)
      if (auto info = pmemw::ParseEntryPoint(std::span(area).subspan(at, 15))) return info;
    return std::nullopt;
  }
  std::unique_ptr<pmemw::Source> source_;
  std::string error_;
};

TEST_F(DefaultSource, DevMemWithLegacyEntryPointIsUsedAlone) {
  const Bytes vpd = VpdBlock(0x30);
  const std::string mem = Image("mem", 0x100000,
                                {{0xF5000, EntryPoint(0x9000, static_cast<uint16_t>(kTable.size()))},
                                 {0x9000, kTable},
                                 {0xF6000, vpd}});
  ASSERT_TRUE(Use(mem, Tables())) << error_;
  EXPECT_EQ(source_->Name(), mem);
  EXPECT_EQ(Read(0xF6000, 3), (Bytes{0xAA, 0x55, 'V'}));
  const auto info = EntryPointShown();
  ASSERT_TRUE(info);
  EXPECT_EQ(info->address, 0x9000u);
}

TEST_F(DefaultSource, DevMemWithoutLegacyEntryPointGetsTheSysfsTable) {
  // The BIOS area's first step is busy; the shown entry point goes to a blank one.
  Bytes busy(16, 0x5A);
  const std::string mem = Image("mem", 0x100000, {{0xF0000, busy}, {0xF6000, VpdBlock(0x30)}});
  ASSERT_TRUE(Use(mem, Tables())) << error_;
  EXPECT_EQ(Read(0xF0000, 16), busy) << "real memory is not hidden";
  EXPECT_EQ(Read(0xF6000, 3), (Bytes{0xAA, 0x55, 'V'})) << "the VPD block is still there";
  const auto info = EntryPointShown();
  ASSERT_TRUE(info);
  EXPECT_EQ(Read(static_cast<uint32_t>(info->address), info->length), kTable);
}

TEST_F(DefaultSource, SysfsAloneWhereDevMemCannotBeRead) {
  ASSERT_TRUE(Use((dir_ / "no-mem").string(), Tables())) << error_;
  const auto info = EntryPointShown();
  ASSERT_TRUE(info);
  EXPECT_EQ(Read(static_cast<uint32_t>(info->address), info->length), kTable);
}

TEST_F(DefaultSource, NeitherIsNotReadyAndSaysWhatWasTried) {
  EXPECT_FALSE(Use((dir_ / "no-mem").string(), (dir_ / "no-tables").string()));
  EXPECT_NE(error_.find("no-mem"), std::string::npos) << error_;
  EXPECT_NE(error_.find("no-tables"), std::string::npos) << error_;
}

// The Windows firmware-table view, with the provider calls answered here.
class FirmwareView : public ::testing::Test {
 protected:
  std::optional<Bytes> rsmb, firmC, firmE;
  pmemw::Opened Build() {
    return pmemw::BuildFirmwareView([this](uint32_t provider, uint32_t id) -> std::optional<Bytes> {
      if (provider == pmemw::kProviderRsmb) return rsmb;
      if (provider == pmemw::kProviderFirm && id == 0xC0000) return firmC;
      if (provider == pmemw::kProviderFirm && id == 0xE0000) return firmE;
      return std::nullopt;
    });
  }
  static Bytes Rsmb(const Bytes &table) {
    Bytes out{0, 3, 4, 0};
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(table.size() >> (8 * i)));
    out.insert(out.end(), table.begin(), table.end());
    return out;
  }
  // The table the view shows through its first entry point in the BIOS area.
  static std::optional<Bytes> Shown(pmemw::Source &view) {
    Bytes area(0x10000);
    if (!view.Read(0xF0000, area)) return std::nullopt;
    const auto info = pmemw::FirstEntryPoint(area);
    if (!info) return std::nullopt;
    Bytes table(info->length);
    if (!view.Read(info->address, table)) return std::nullopt;
    return table;
  }
  // A 128 KiB 'FIRM' range for 0xE0000 with pieces placed at physical addresses.
  static Bytes FirmE(std::initializer_list<std::pair<uint32_t, Bytes>> pieces) {
    Bytes range(0x20000, 0);
    for (const auto &[at, bytes] : pieces)
      std::copy(bytes.begin(), bytes.end(), range.begin() + (at - 0xE0000));
    return range;
  }
};

TEST_F(FirmwareView, RsmbAloneIsShownThroughALegacyEntryPoint) {
  rsmb = Rsmb(kTable);
  auto opened = Build();
  ASSERT_TRUE(opened.source) << opened.error;
  EXPECT_EQ(Shown(*opened.source), kTable);
  EXPECT_NE(opened.source->Name().find("RSMB"), std::string::npos);
}

TEST_F(FirmwareView, FirmRangesKeepTheFirmwaresOwnEntryPointAndVpd) {
  // The firmware's entry point names its table at 0x7FF0000, outside the ranges.
  firmE = FirmE(
      {{0xF5000, EntryPoint(0x7FF0000, static_cast<uint16_t>(kTable.size()))}, {0xF6000, VpdBlock(0x30)}});
  rsmb = Rsmb(kTable);
  auto opened = Build();
  ASSERT_TRUE(opened.source) << opened.error;
  EXPECT_EQ(Shown(*opened.source), kTable);
  Bytes vpd(3);
  ASSERT_TRUE(opened.source->Read(0xF6000, vpd));
  EXPECT_EQ(vpd, (Bytes{0xAA, 0x55, 'V'}));
}

TEST_F(FirmwareView, FirmWithoutEntryPointGetsOneAtABlankSpot) {
  Bytes busy(16, 0x5A);
  firmE = FirmE({{0xF0000, busy}, {0xF6000, VpdBlock(0x30)}});
  rsmb = Rsmb(kTable);
  auto opened = Build();
  ASSERT_TRUE(opened.source) << opened.error;
  EXPECT_EQ(Shown(*opened.source), kTable);
  Bytes first(16);
  ASSERT_TRUE(opened.source->Read(0xF0000, first));
  EXPECT_EQ(first, busy) << "firmware bytes are not hidden";
}

TEST_F(FirmwareView, TableTooLongForLegacyShowsNoEntryPoint) {
  Bytes longTable(0x10000, 0);
  rsmb = Rsmb(longTable);
  firmE = FirmE({{0xF6000, VpdBlock(0x30)}});
  auto opened = Build();
  ASSERT_TRUE(opened.source) << "the BIOS area is still there";
  EXPECT_FALSE(Shown(*opened.source)) << "no entry point rather than a cut table";
}

TEST_F(FirmwareView, NoProviderIsNoSource) {
  auto opened = Build();
  EXPECT_FALSE(opened.source);
  EXPECT_NE(opened.error.find("RSMB"), std::string::npos);
  rsmb = Bytes{0, 3, 4, 0, 0xFF, 0, 0, 0, 1};  // a length beyond what was handed over
  EXPECT_FALSE(Build().source);
}

}  // namespace
}  // namespace fwprobe::testing
