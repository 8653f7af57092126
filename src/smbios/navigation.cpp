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

}  // namespace

uint8_t StructureByte(Table table, size_t pos, size_t offset) {
  if (pos >= table.size() || offset >= table.size() - pos) return 0;
  return table[pos + offset];
}

Position SMBIOSNextStructure(Table table, size_t pos) {
  // A structure whose length byte lies beyond the end has no next structure.
  if (pos >= table.size() || table.size() - pos < 2) return std::nullopt;
  size_t at = pos + table[pos + 1];
  // Find two NULs in a row; a string-set that runs past the end has no end.
  while (true) {
    const Position nul = FindNul(table, at);
    if (!nul || *nul + 1 >= table.size()) return std::nullopt;
    if (table[*nul + 1] == 0) return *nul + 2;
    at = *nul + 1;
  }
}

Position SMBIOSFindStructure(Table table, Position after, uint8_t type) {
  Position candidate = after ? SMBIOSNextStructure(table, *after) : Position{0};
  while (candidate && *candidate < table.size()) {
    if (type == 0 || table[*candidate] == type) return candidate;
    candidate = SMBIOSNextStructure(table, *candidate);
  }
  return std::nullopt;
}

Position SMBIOSFindFirstStructure(Table table, uint8_t type) {
  Position candidate = 0;
  while (candidate && *candidate < table.size()) {
    if (table[*candidate] == type) return candidate;
    candidate = SMBIOSNextStructure(table, *candidate);
  }
  return std::nullopt;
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
