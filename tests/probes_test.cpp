// The management hardware probes.
#include <ostream>
#include <string>

#include "fwprobe.h"
#include "support/service_test.h"

namespace fwprobe::testing {
namespace {

// An OEM-specific structure whose offset-4 byte names its first string.
Bytes Oem(uint8_t type, const std::string &s) { return Structure(type, {1}, {s}); }

struct ProbeCase {
  const char *name;
  Bytes table;
  int pelorin, h8, marlix, ipmi;
};

void PrintTo(const ProbeCase &c, std::ostream *os) { *os << c.name; }

const ProbeCase kCases[] = {
    {"nothing", Concat({BiosInfo("V", "1", "D"), SystemInfo("M", "P", "S")}), 0, 0, 0, 0},
    {"pelorin_any_case", Oem(130, "PELORIN"), 1, 0, 0, 0},
    {"pelorin_whole_string_only", Oem(130, "Pelorin 2"), 0, 0, 0, 0},
    {"pelorin_prefix_of_mark", Oem(130, "Pelori"), 0, 0, 0, 0},
    {"pelorin_in_type_127_not_examined", Oem(127, "Pelorin"), 0, 0, 0, 0},
    {"pelorin_in_type_255", Oem(255, "pelorin"), 1, 0, 0, 0},
    {"pelorin_only_in_second_of_type", Concat({Oem(200, "Other"), Oem(200, "Pelorin")}), 0, 0, 0, 0},
    {"pelorin_first_of_another_type", Concat({Oem(200, "Other"), Oem(140, "Pelorin")}), 1, 0, 0, 0},
    {"pelorin_non_ascii_not_folded", Oem(130, "PEL\xD6RIN"), 0, 0, 0, 0},
    {"pelorin_offset4_zero_names_empty", Structure(130, {0}, {"Pelorin"}), 0, 0, 0, 0},
    {"telvane_in_first_oem_strings", OemStrings({"x", "has ZAQ Telvane inside"}), 0, 1, 0, 0},
    {"telvane_only_in_second_oem_strings", Concat({OemStrings({"x"}), OemStrings({"ZAQ Telvane"})}), 0, 0, 0,
     0},
    {"telvane_case_matters", OemStrings({"zaq telvane"}), 0, 0, 0, 0},
    {"marlix_in_second_oem_strings",
     Concat({OemStrings({"x"}), Structure(2, {}), OemStrings({"xx ZAQ Marlix -[1234]"})}), 0, 0, 1, 0},
    {"marlix_case_matters", OemStrings({"zaq marlix -["}), 0, 0, 0, 0},
    {"marlix_needs_bracket", OemStrings({"ZAQ Marlix 1234"}), 0, 0, 0, 0},
    {"count_beyond_strings_skips_missing", OemStrings({"a", "ZAQ Telvane ZAQ Marlix -["}, 3), 0, 1, 1, 0},
    {"count_below_strings_hides_the_rest", OemStrings({"a", "ZAQ Telvane ZAQ Marlix -["}, 1), 0, 0, 0, 0},
    {"count_zero_passed_over", Concat({OemStrings({"ZAQ Marlix -["}, 0), OemStrings({"ZAQ Marlix -["})}), 0,
     0, 1, 0},
    {"ipmi_present",
     Concat({BiosInfo("V", "1", "D"), Structure(38, {0x01, 0x20, 0x20, 0xCA, 0, 0, 0, 0, 0, 0, 0, 0})}), 0, 0,
     0, 1},
    {"all_marks",
     Concat({OemStrings({"ZAQ Telvane", "ZAQ Marlix -["}), Oem(133, "pElOrIn"), Structure(38, {})}), 1, 1, 1,
     1},
};

class Probes : public ServiceTest, public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(Probes, AnswerPresence) {
  InstallSmbios(svc(), GetParam().table);
  EXPECT_EQ(isPelorinSmbios(), GetParam().pelorin);
  EXPECT_EQ(SMBIOSIsH8Enabled(), GetParam().h8);
  EXPECT_EQ(SMBIOSIsMarlixEnabled(), GetParam().marlix);
  EXPECT_EQ(SMBIOSQueryIpmi(), GetParam().ipmi);
  EXPECT_EQ(svc().opens, 4);
}

INSTANTIATE_TEST_SUITE_P(Cases, Probes, ::testing::ValuesIn(kCases),
                         [](const auto &p) { return std::string(p.param.name); });

using ProbeFailures = ServiceTest;

TEST_F(ProbeFailures, NoEntryPointIsZero) {
  svc().Place(0xF0000, EntryPoint(kTableAddress, 20, false));
  svc().Place(kTableAddress,
              Concat({OemStrings({"ZAQ Telvane ZAQ Marlix -["}), Oem(130, "Pelorin"), Structure(38, {})}));
  EXPECT_EQ(isPelorinSmbios(), 0);
  EXPECT_EQ(SMBIOSIsH8Enabled(), 0);
  EXPECT_EQ(SMBIOSIsMarlixEnabled(), 0);
  EXPECT_EQ(SMBIOSQueryIpmi(), 0);
}

TEST_F(ProbeFailures, CountByteBeyondTheSnapshotReadsAsZero) {
  // A type-11 structure cut off after its header: Count lies past the end.
  InstallSmbios(svc(), Bytes{11, 5, 0, 0});
  EXPECT_EQ(SMBIOSIsH8Enabled(), 0);
  EXPECT_EQ(SMBIOSIsMarlixEnabled(), 0);
}

}  // namespace
}  // namespace fwprobe::testing
