// The legacy view: a table that reached us without a BIOS area of its own
// (a dump file, the sysfs tables, a firmware-table API) shown as physical
// memory, with a stand-alone "_DMI_" entry point in the BIOS area naming the
// table at its address. One builder, shared by every such source.
#ifndef PMEMW_LEGACY_VIEW_H
#define PMEMW_LEGACY_VIEW_H

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "source.h"

namespace pmemw {

constexpr uint32_t kBiosAreaStart = 0xF0000;
constexpr uint32_t kBiosAreaEnd = 0xFFFFF;
constexpr uint32_t kBiosAreaSize = kBiosAreaEnd - kBiosAreaStart + 1;

// What an entry point says about its table.
struct TableInfo {
  uint64_t address = 0;
  uint32_t length = 0;  // exact for 2.x and legacy, the maximum for SMBIOS 3
  uint16_t count = 0;
  uint8_t major = 0;
  uint8_t minor = 0;
  bool smbios3 = false;
};

// Parses an "_SM_" (2.x), "_DMI_" (legacy) or "_SM3_" entry point; none when
// the anchor is unknown, the bytes are too few or a checksum fails.
std::optional<TableInfo> ParseEntryPoint(std::span<const uint8_t> entryPoint);

// The 15-byte "_DMI_" entry point naming info's table, checksum set.
std::vector<uint8_t> LegacyEntryPoint(const TableInfo &info);

// Whether a table can be shown through "_DMI_": under 64 KiB, below 4 GiB.
bool FitsLegacy(const TableInfo &info);

// The lowest valid "_DMI_" entry point at a 16-byte step of the BIOS area
// (bytes from 0xF0000 onward), as the library finds it; none if there is none.
std::optional<TableInfo> FirstEntryPoint(std::span<const uint8_t> biosArea);

// Whether the 16 bytes at a 16-byte step of biosArea (the BIOS area's
// bytes from 0xF0000) are blank, all 0x00 or all 0xFF: a spot where a shown
// entry point hides nothing the firmware put there.
inline bool BlankSpot(std::span<const uint8_t> biosArea, uint32_t address) {
  const size_t at = address - kBiosAreaStart;
  if (at + 16 > biosArea.size()) return false;
  for (size_t i = 0; i < 16; ++i)
    if (biosArea[at + i] != biosArea[at] || (biosArea[at] != 0x00 && biosArea[at] != 0xFF)) return false;
  return true;
}

// Lays table at info.address and a legacy entry point naming it at the first
// 16-byte step of the BIOS area that the table does not cover and where
// usable(address) holds; the entry point lies over whatever the view held
// there. A table that cannot be shown through "_DMI_" is not
// shown at all (no entry point rather than a cut table): returns false.
template <class Usable>
bool PlaceLegacyView(RegionSource &view, TableInfo info, std::vector<uint8_t> table, Usable usable) {
  info.length = static_cast<uint32_t>(table.size());
  if (!FitsLegacy(info)) return false;
  view.Place(info.address, std::move(table));
  for (uint32_t at = kBiosAreaStart; at <= kBiosAreaEnd; at += 16) {
    if ((at < info.address + info.length && info.address < at + 16) || !usable(at)) continue;
    view.Place(at, LegacyEntryPoint(info));
    return true;
  }
  return false;
}

}  // namespace pmemw

#endif
