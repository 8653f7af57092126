// Management hardware probes: marks the firmware leaves in OEM-specific,
// OEM Strings and IPMI Device Information structures.
#include <array>
#include <string_view>

#include "fwprobe.h"
#include "smbios/navigation.h"
#include "smbios/table_access.h"
#include "smbios/text.h"

using namespace fwprobe;

namespace {

constexpr uint8_t kOemStrings = 11;
constexpr uint8_t kIpmiDeviceInformation = 38;
constexpr uint8_t kFirstOemType = 128;

// Whether one of the strings 1..Count of the OEM Strings structure at pos
// contains mark. Numbers that resolve to none (a Count larger than the set)
// are skipped.
bool OemStringsContain(Table table, size_t pos, std::string_view mark) {
  const uint8_t count = StructureByte(table, pos, 4);
  for (unsigned number = 1; number <= count; ++number) {
    const auto s = SMBIOSGetString(table, pos, static_cast<uint8_t>(number));
    if (s && s->find(mark) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace

// One walk of the table looks at the first structure of each type 128-255,
// which is exactly what a search per type would find, at the cost of one walk.
extern "C" FWPROBE_API int FWPROBE_CALL isPelorinSmbios(void) {
  return RunQueryFrame(0, [](Table table) {
    std::array<bool, 256> seen{};
    const bool found = ForEachStructure(table, [&](size_t pos) {
      const uint8_t type = table[pos];
      if (type < kFirstOemType || seen[type]) return false;
      seen[type] = true;
      const auto s = SMBIOSGetString(table, pos, StructureByte(table, pos, 4));
      return s && AsciiEqualNoCase(*s, "Pelorin");
    });
    return found ? 1 : 0;
  });
}

// Only the first OEM Strings structure is examined.
extern "C" FWPROBE_API int FWPROBE_CALL SMBIOSIsH8Enabled(void) {
  return RunQueryFrame(0, [](Table table) {
    const Position pos = SMBIOSFindFirstStructure(table, kOemStrings);
    return (pos && OemStringsContain(table, *pos, "ZAQ Telvane")) ? 1 : 0;
  });
}

// Every OEM Strings structure is examined, in table order.
extern "C" FWPROBE_API int FWPROBE_CALL SMBIOSIsMarlixEnabled(void) {
  return RunQueryFrame(0, [](Table table) {
    for (Position pos = SMBIOSFindStructure(table, std::nullopt, kOemStrings); pos;
         pos = SMBIOSFindStructure(table, pos, kOemStrings)) {
      if (OemStringsContain(table, *pos, "ZAQ Marlix -[")) return 1;
    }
    return 0;
  });
}

extern "C" FWPROBE_API int FWPROBE_CALL SMBIOSQueryIpmi(void) {
  return RunQueryFrame(
      0, [](Table table) { return SMBIOSFindFirstStructure(table, kIpmiDeviceInformation) ? 1 : 0; });
}
