// Byte-string helpers shared by the SMBIOS queries: ASCII-only case folding
// and the one bounded copy into a caller's buffer.
#ifndef FWPROBE_SMBIOS_TEXT_H
#define FWPROBE_SMBIOS_TEXT_H

#include <cstddef>
#include <cstring>
#include <string_view>

namespace fwprobe {

// Folds A-Z to a-z; every other byte, including those from 0x80 up, is
// returned as it is.
constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether a and b are equal with ASCII letter case ignored.
constexpr bool AsciiEqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

// Whether s begins with prefix, ASCII letter case ignored.
constexpr bool AsciiStartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && AsciiEqualNoCase(s.substr(0, prefix.size()), prefix);
}

// Copies s byte for byte into dst followed by a NUL, keeping at most
// capacity - 1 bytes of s. A null dst is skipped. capacity must be at least 1.
inline void CopyString(char *dst, std::string_view s, size_t capacity) {
  if (dst == nullptr) return;
  const size_t n = s.size() < capacity ? s.size() : capacity - 1;
  if (n != 0) std::memcpy(dst, s.data(), n);
  dst[n] = '\0';
}

// Empties a caller's buffer; a null buffer is skipped.
inline void ClearString(char *dst) {
  if (dst != nullptr) dst[0] = '\0';
}

}  // namespace fwprobe

#endif
