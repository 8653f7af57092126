#include "support/pmem_double.h"

#include <algorithm>
#include <cstring>

#include "physmem/physmem.h"

namespace fwprobe::testing {

PMemDouble &Service() {
  static PMemDouble service;
  return service;
}

uint8_t PMemDouble::ByteAt(uint64_t address) const {
  auto it = regions.upper_bound(static_cast<uint32_t>(address > UINT32_MAX ? UINT32_MAX : address));
  if (address > UINT32_MAX || it == regions.begin()) return 0;
  --it;
  const uint64_t offset = address - it->first;
  return offset < it->second.size() ? it->second[offset] : 0;
}

namespace {

// Whether memory at address holds pattern, reading region bytes directly
// where the pattern lies inside one region.
bool Matches(const PMemDouble &s, uint64_t address, const char *pattern, size_t n) {
  auto it = s.regions.upper_bound(static_cast<uint32_t>(address));
  if (it != s.regions.begin()) {
    --it;
    const uint64_t offset = address - it->first;
    if (offset + n <= it->second.size()) return std::memcmp(it->second.data() + offset, pattern, n) == 0;
  }
  for (size_t i = 0; i < n; ++i)
    if (s.ByteAt(address + i) != static_cast<uint8_t>(pattern[i])) return false;
  return true;
}

}  // namespace

}  // namespace fwprobe::testing

using fwprobe::testing::Service;

extern "C" {

int PMEM_CALL PMemIsInitialized(void) {
  auto &s = Service();
  ++s.initChecks;
  s.checkedSinceOpen = true;
  return s.initialized ? 1 : 0;
}

int PMEM_CALL PMemOpen(void) {
  auto &s = Service();
  if (s.isOpen || !s.checkedSinceOpen) ++s.misuse;
  s.checkedSinceOpen = false;
  if (s.openFails) return 0;
  ++s.opens;
  s.isOpen = true;
  return 1;
}

// Tries the candidates of each region in address order, comparing the
// region's bytes directly; regions do not overlap, and unplaced memory (zero)
// cannot hold a pattern, whose first byte is never NUL.
uint32_t PMEM_CALL PMemSearch(const char *pattern, uint32_t start, uint32_t end, uint32_t step) {
  auto &s = Service();
  ++s.searches;
  if (!s.isOpen) ++s.misuse;
  if (s.forcedSearch) return *s.forcedSearch;
  const size_t n = std::strlen(pattern);
  if (step == 0 || n == 0) return 0;
  for (const auto &[regionStart, bytes] : s.regions) {
    const uint64_t regionEnd = uint64_t{regionStart} + bytes.size();
    if (regionEnd <= start || regionStart > end) continue;
    uint64_t a = start;
    if (regionStart > start) a += (regionStart - start + step - 1) / step * step;
    for (; a < regionEnd && a <= end; a += step) {
      const uint64_t offset = a - regionStart;
      if (bytes[offset] != static_cast<uint8_t>(pattern[0])) continue;
      const bool match = offset + n <= bytes.size() ? std::memcmp(bytes.data() + offset, pattern, n) == 0
                                                    : fwprobe::testing::Matches(s, a, pattern, n);
      if (match) return static_cast<uint32_t>(a);
    }
  }
  return 0;
}

int PMEM_CALL PMemRead(void *destination, uint32_t address, uint32_t length) {
  auto &s = Service();
  ++s.reads;
  if (!s.isOpen) ++s.misuse;
  if (s.failAllReads || s.failReadNumber == s.reads) return 1;
  // Unplaced memory reads as zero; each region's share is copied over it.
  auto *out = static_cast<uint8_t *>(destination);
  if (length != 0) std::memset(out, 0, length);
  const uint64_t from = address, to = from + length;
  for (const auto &[start, bytes] : s.regions) {
    const uint64_t a = std::max<uint64_t>(from, start), b = std::min<uint64_t>(to, start + bytes.size());
    if (a < b) std::memcpy(out + (a - from), bytes.data() + (a - start), b - a);
  }
  s.bytesRead += length;
  return 0;
}

int PMEM_CALL PMemClose(void) {
  auto &s = Service();
  if (!s.isOpen) ++s.misuse;
  ++s.closes;
  s.isOpen = false;
  return 1;
}

}  // extern "C"
