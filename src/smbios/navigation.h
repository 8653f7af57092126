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
