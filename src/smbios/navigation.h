// Structure navigation over a table snapshot. Positions are offsets into the
// snapshot; every read is checked against the snapshot's end, so no table,
// however malformed, makes a walk leave it.
#ifndef FWPROBE_SMBIOS_NAVIGATION_H
#define FWPROBE_SMBIOS_NAVIGATION_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace fwprobe {

using Table = std::span<const uint8_t>;
using Position = std::optional<size_t>;

// The offset meaning "no structure" in NextStructureOffset.
constexpr size_t kNoStructure = SIZE_MAX;

// The offset of the structure after the one at pos, or kNoStructure. The
// first two NULs in a row at or after the formatted area end the structure;
// a structure whose length byte, formatted area or string-set runs past the
// end has no next structure. The step always advances at least two bytes.
inline size_t NextStructureOffset(Table table, size_t pos) {
  const uint8_t *bytes = table.data();
  const size_t n = table.size();
  if (pos >= n || n - pos < 2) return kNoStructure;
  for (size_t at = pos + bytes[pos + 1]; at + 1 < n; ++at)
    if (bytes[at] == 0 && bytes[at + 1] == 0) return at + 2;
  return kNoStructure;
}

// Calls visit(pos) for every structure in table order until visit returns
// true (then true) or the walk ends (then false): one walk of the table.
template <class Visit>
bool ForEachStructure(Table table, Visit &&visit) {
  for (size_t pos = 0; pos < table.size(); pos = NextStructureOffset(table, pos))
    if (visit(pos)) return true;
  return false;
}

// The byte at a fixed offset of the structure at pos; a byte at or beyond the
// snapshot's end reads as 0, so it names no string and counts nothing.
uint8_t StructureByte(Table table, size_t pos, size_t offset);

// The position of the structure after the one at pos: two bytes past the
// first double NUL at or after the end of its formatted area. None when the
// formatted area or the string-set runs past the snapshot's end. The step
// always advances at least two bytes, so every walk ends.
Position SMBIOSNextStructure(Table table, size_t pos);

// The first structure of the given type at or after the structure following
// after (or the table's first structure when after is none). Type 0 matches
// any structure.
Position SMBIOSFindStructure(Table table, Position after, uint8_t type);

// The first structure whose type equals type; type 0 is compared like any
// other type.
Position SMBIOSFindFirstStructure(Table table, uint8_t type);

// The string numbered number in the string-set of the structure at pos.
// Number 0 gives an empty string (never none). None when the set is empty,
// holds fewer strings, or the string's NUL lies beyond the snapshot's end.
std::optional<std::string_view> SMBIOSGetString(Table table, size_t pos, uint8_t number);

}  // namespace fwprobe

#endif
