#include "legacy_view.h"

#include <cstring>

namespace pmemw {

namespace {

uint8_t Sum(std::span<const uint8_t> bytes) {
  uint8_t sum = 0;
  for (uint8_t b : bytes) sum = static_cast<uint8_t>(sum + b);
  return sum;
}

uint64_t Le(std::span<const uint8_t> b, size_t at, size_t width) {
  uint64_t v = 0;
  for (size_t i = 0; i < width; ++i) v |= uint64_t{b[at + i]} << (8 * i);
  return v;
}

bool StartsWith(std::span<const uint8_t> b, const char *anchor) {
  const size_t n = std::strlen(anchor);
  return b.size() >= n && std::memcmp(b.data(), anchor, n) == 0;
}

// The 15-byte intermediate part ("_DMI_"), valid when it sums to zero.
std::optional<TableInfo> ParseDmi(std::span<const uint8_t> b) {
  if (b.size() < 15 || !StartsWith(b, "_DMI_") || Sum(b.first(15)) != 0) return std::nullopt;
  TableInfo info;
  info.length = static_cast<uint32_t>(Le(b, 6, 2));
  info.address = Le(b, 8, 4);
  info.count = static_cast<uint16_t>(Le(b, 12, 2));
  info.major = static_cast<uint8_t>(b[14] >> 4);
  info.minor = static_cast<uint8_t>(b[14] & 0x0F);
  return info;
}

}  // namespace

std::optional<TableInfo> ParseEntryPoint(std::span<const uint8_t> b) {
  if (StartsWith(b, "_SM3_")) {
    if (b.size() < 0x18 || b[6] < 0x18 || b.size() < b[6] || Sum(b.first(b[6])) != 0) return std::nullopt;
    TableInfo info;
    info.major = b[7];
    info.minor = b[8];
    info.length = static_cast<uint32_t>(Le(b, 0x0C, 4));
    info.address = Le(b, 0x10, 8);
    info.smbios3 = true;
    return info;
  }
  if (StartsWith(b, "_SM_")) {
    if (b.size() < 0x1F || b[5] < 0x1F || b.size() < b[5] || Sum(b.first(b[5])) != 0) return std::nullopt;
    auto info = ParseDmi(b.subspan(0x10));
    if (info) {
      info->major = b[6];
      info->minor = b[7];
    }
    return info;
  }
  return ParseDmi(b);
}

std::vector<uint8_t> LegacyEntryPoint(const TableInfo &info) {
  std::vector<uint8_t> ep{'_', 'D', 'M', 'I', '_', 0};
  for (int i = 0; i < 2; ++i) ep.push_back(static_cast<uint8_t>(info.length >> (8 * i)));
  for (int i = 0; i < 4; ++i) ep.push_back(static_cast<uint8_t>(info.address >> (8 * i)));
  for (int i = 0; i < 2; ++i) ep.push_back(static_cast<uint8_t>(info.count >> (8 * i)));
  ep.push_back(static_cast<uint8_t>(((info.major & 0x0F) << 4) | (info.minor > 9 ? 9 : info.minor)));
  ep[5] = static_cast<uint8_t>(0x100 - Sum(ep));
  return ep;
}

bool FitsLegacy(const TableInfo &info) {
  return info.length <= 0xFFFF && info.address + info.length <= 0x100000000ULL;
}

std::optional<TableInfo> FirstEntryPoint(std::span<const uint8_t> biosArea) {
  for (size_t at = 0; at + 15 <= biosArea.size(); at += 16)
    if (auto info = ParseDmi(biosArea.subspan(at))) return info;
  return std::nullopt;
}

}  // namespace pmemw
