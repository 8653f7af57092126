#include <algorithm>
#include <cstring>

#include "source.h"

namespace pmemw {

bool RegionSource::Overlaps(uint64_t address, uint64_t length) const {
  for (const auto &[start, bytes] : regions_)
    if (start < address + length && address < start + bytes.size()) return true;
  return false;
}

std::span<const uint8_t> RegionSource::View(uint64_t address, size_t length) {
  auto it = regions_.upper_bound(address);
  // A later region laid over part of the range: only Read combines them.
  if (it != regions_.end() && it->first < address + length) return {};
  if (it == regions_.begin()) return {};
  --it;
  const uint64_t offset = address - it->first;
  if (offset > it->second.size() || length > it->second.size() - offset) return {};
  return std::span<const uint8_t>(it->second).subspan(static_cast<size_t>(offset), length);
}

bool RegionSource::Read(uint64_t address, std::span<uint8_t> out) {
  const uint64_t end = address + out.size();
  // Regions are laid in address order, a later one over an earlier one.
  // Bytes outside every region come from the base; without a base they are
  // zero, as unused memory of a synthetic address space.
  bool covered = false;
  for (const auto &[start, bytes] : regions_)
    if (start <= address && end <= start + bytes.size()) covered = true;
  if (base_ && !covered) {
    if (!base_->Read(address, out)) return false;
  } else {
    std::fill(out.begin(), out.end(), uint8_t{0});
  }
  for (const auto &[start, bytes] : regions_) {
    const uint64_t from = std::max(start, address);
    const uint64_t to = std::min<uint64_t>(start + bytes.size(), end);
    if (from < to)
      std::memcpy(out.data() + (from - address), bytes.data() + (from - start),
                  static_cast<size_t>(to - from));
  }
  return true;
}

}  // namespace pmemw
