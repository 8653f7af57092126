// How a fuzz input becomes a physical address space for the service double:
//
//   byte 0       switches: bits 0-2, the Nth read fails (0: none); bit 3, the
//                snapshot cannot be allocated; bits 4-7, the VPD capacity
//   bytes 1-2    n, the length of the BIOS-area part (little-endian)
//   n bytes      the BIOS area from 0xF0000: "_DMI_" candidates, VPD blocks
//   the rest     memory from 0x100000, where an entry point can name a table
#ifndef FWPROBE_FUZZ_ADDRESS_SPACE_H
#define FWPROBE_FUZZ_ADDRESS_SPACE_H

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace fwprobe::fuzz {

constexpr uint32_t kBiosArea = 0xF0000;
constexpr uint32_t kTableArea = 0x100000;

struct AddressSpace {
  int failReadNumber = 0;
  bool allocationFails = false;
  int vpdCapacity = 256;
  std::vector<uint8_t> biosArea;
  std::vector<uint8_t> high;
};

inline AddressSpace Decode(std::span<const uint8_t> in) {
  static constexpr int kCapacities[16] = {256, 0, 1, 6, 16, 22, 29, 40, 46, 47, 48, 64, 128, 200, 255, 1000};
  AddressSpace s;
  if (in.size() < 3) return s;
  s.failReadNumber = in[0] & 7;
  s.allocationFails = (in[0] & 8) != 0;
  s.vpdCapacity = kCapacities[in[0] >> 4];
  const size_t n = std::min<size_t>(in.size() - 3, static_cast<size_t>(in[1] | (in[2] << 8)));
  s.biosArea.assign(in.begin() + 3, in.begin() + 3 + static_cast<std::ptrdiff_t>(n));
  s.high.assign(in.begin() + 3 + static_cast<std::ptrdiff_t>(n), in.end());
  return s;
}

inline std::vector<uint8_t> Encode(uint8_t switches, std::span<const uint8_t> biosArea,
                                   std::span<const uint8_t> high) {
  std::vector<uint8_t> out{switches, static_cast<uint8_t>(biosArea.size()),
                           static_cast<uint8_t>(biosArea.size() >> 8)};
  out.insert(out.end(), biosArea.begin(), biosArea.end());
  out.insert(out.end(), high.begin(), high.end());
  return out;
}

}  // namespace fwprobe::fuzz

#endif
