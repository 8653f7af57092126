// The VPD block loader: finds the block in the BIOS area, checks its header
// and copies it into the caller's buffer.
#include <array>
#include <cstddef>
#include <cstdint>

#include "fwprobe.h"
#include "physmem/physmem.h"
#include "vpd/vpd_state.h"

namespace fwprobe {

bool VPDLoaded = false;

void ResetVpdLoadedForTesting() { VPDLoaded = false; }

}  // namespace fwprobe

namespace {

constexpr uint32_t kBiosAreaStart = 0xF0000;
constexpr uint32_t kBiosAreaEnd = 0xFFFFF;
constexpr uint32_t kSignatureStep = 16;
constexpr char kSignature[] = "\xAA\x55VPD";  // searched for; the NUL ends the pattern
constexpr std::size_t kHeaderSize = 6;

bool HeaderValid(const std::array<uint8_t, kHeaderSize> &h) {
  return h[0] == 0xAA && h[1] == 0x55 && h[2] == 'V' && h[3] == 'P' && h[4] == 'D';
}

// Closes the service and hands back result, for every exit after PMemOpen.
int CloseWith(int result) {
  PMemClose();
  return result;
}

}  // namespace

extern "C" FWPROBE_API int FWPROBE_CALL VPDLoadData(unsigned char *buffer, int *length) {
  // Arguments no block can be loaded into: nothing is opened, read or written.
  if (buffer == nullptr || length == nullptr || *length < 0) return FWPROBE_VPD_NOT_FOUND;

  if (PMemIsInitialized() == 0) return FWPROBE_VPD_NOT_READY;
  if (PMemOpen() == 0) return FWPROBE_VPD_OPEN_FAILED;

  // The lowest signature match is the only candidate; a mismatch there is
  // not retried further up.
  const uint32_t found = PMemSearch(kSignature, kBiosAreaStart, kBiosAreaEnd, kSignatureStep);
  if (found == 0) return CloseWith(FWPROBE_VPD_NOT_FOUND);

  std::array<uint8_t, kHeaderSize> header{};
  if (PMemRead(header.data(), found, kHeaderSize) != 0 || !HeaderValid(header))
    return CloseWith(FWPROBE_VPD_NOT_FOUND);

  // The block is read whole when it fits; otherwise as much as the buffer
  // holds. The comparison is signed.
  const int blockLength = header[5];
  if (blockLength < *length) *length = blockLength;
  if (*length != 0 && PMemRead(buffer, found, static_cast<uint32_t>(*length)) != 0)
    return CloseWith(FWPROBE_VPD_NOT_FOUND);

  fwprobe::VPDLoaded = true;
  return CloseWith(FWPROBE_VPD_OK);
}
