#include "smbios/navigation.h"

#include <algorithm>

namespace fwprobe {

namespace {

// The offset of the first NUL at or after from, or none when the NUL would
// lie beyond the snapshot's end.
Position FindNul(Table table, size_t from) {
  if (from >= table.size()) return std::nullopt;
  const auto it = std::find(table.begin() + static_cast<std::ptrdiff_t>(from), table.end(), 0);
  if (it == table.end()) return std::nullopt;
  return static_cast<size_t>(it - table.begin());
}

// A structure offset as a position: none at or beyond the snapshot's end.
Position AsPosition(size_t offset, size_t n) { return offset < n ? Position{offset} : std::nullopt; }

}  // namespace

uint8_t StructureByte(Table table, size_t pos, size_t offset) {
  if (pos >= table.size() || offset >= table.size() - pos) return 0;
  return table[pos + offset];
}

Position SMBIOSNextStructure(Table table, size_t pos) {
  const size_t next = NextStructureOffset(table, pos);
  return next == kNoStructure ? std::nullopt : Position{next};
}

// Type 0 matches the starting candidate, whatever its type.
Position SMBIOSFindStructure(Table table, Position after, uint8_t type) {
  size_t candidate = after ? NextStructureOffset(table, *after) : 0;
  if (type != 0)
    while (candidate < table.size() && table[candidate] != type)
      candidate = NextStructureOffset(table, candidate);
  return AsPosition(candidate, table.size());
}

Position SMBIOSFindFirstStructure(Table table, uint8_t type) {
  size_t candidate = 0;
  while (candidate < table.size() && table[candidate] != type)
    candidate = NextStructureOffset(table, candidate);
  return AsPosition(candidate, table.size());
}

std::optional<std::string_view> SMBIOSGetString(Table table, size_t pos, uint8_t number) {
  if (number == 0) return std::string_view{};
  // A structure whose length byte lies beyond the end has no string-set.
  if (pos >= table.size() || table.size() - pos < 2) return std::nullopt;
  size_t at = pos + table[pos + 1];
  if (at >= table.size() || table[at] == 0) return std::nullopt;  // empty set
  for (unsigned step = 1; step < number; ++step) {
    const Position nul = FindNul(table, at);
    if (!nul) return std::nullopt;
    at = *nul + 1;
    // Reaching the set's closing NUL (or the end) means fewer strings.
    if (at >= table.size() || table[at] == 0) return std::nullopt;
  }
  // A string whose NUL lies beyond the end counts as absent.
  const Position nul = FindNul(table, at);
  if (!nul) return std::nullopt;
  const auto *chars = reinterpret_cast<const char *>(table.data());
  return std::string_view(chars + at, *nul - at);
}

}  // namespace fwprobe
