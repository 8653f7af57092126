#include "smbios/table_access.h"

#include <array>
#include <new>

#include "fwprobe.h"
#include "physmem/physmem.h"

namespace fwprobe {

uint32_t SMBIOSTableAddress = 0;
uint16_t SMBIOSTableLength = 0;

namespace {

constexpr uint32_t kBiosAreaStart = 0xF0000;
constexpr uint32_t kBiosAreaEnd = 0xFFFFF;
constexpr uint32_t kAnchorStep = 16;
constexpr size_t kEntryPointSize = 15;

bool g_allocationFails = false;

uint16_t ReadLe16(const std::array<uint8_t, kEntryPointSize> &b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

uint32_t ReadLe32(const std::array<uint8_t, kEntryPointSize> &b, size_t at) {
  return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
         (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// The entry point is valid when its 15 bytes sum to zero modulo 256.
bool ChecksumValid(const std::array<uint8_t, kEntryPointSize> &b) {
  uint8_t sum = 0;
  for (uint8_t byte : b) sum = static_cast<uint8_t>(sum + byte);
  return sum == 0;
}

}  // namespace

int SMBIOSLocateTable() {
  if (PMemIsInitialized() == 0) return kNotReady;
  if (PMemOpen() == 0) return kOpenFailed;

  uint32_t cursor = kBiosAreaStart;
  while (cursor <= kBiosAreaEnd) {
    const uint32_t found = PMemSearch("_DMI_", cursor, kBiosAreaEnd, kAnchorStep);
    // An address outside cursor..0xFFFFF from a misbehaving service counts as
    // none; this also keeps the loop moving forward, so it always ends.
    if (found == 0 || found < cursor || found > kBiosAreaEnd) break;

    std::array<uint8_t, kEntryPointSize> entry{};
    if (PMemRead(entry.data(), found, kEntryPointSize) != 0) {
      PMemClose();
      return kReadFailed;
    }
    if (ChecksumValid(entry)) {
      SMBIOSTableAddress = ReadLe32(entry, 8);
      SMBIOSTableLength = ReadLe16(entry, 6);
      return kLocated;
    }
    // A bad candidate never ends the search: resume 16 bytes further on.
    cursor = found + kAnchorStep;
  }
  PMemClose();
  return kNoEntryPoint;
}

int SMBIOSCopyTable(uint8_t *snapshot, uint32_t address, uint16_t length) {
  // An empty table needs no read; the service is closed all the same.
  const int failed = (length != 0 && PMemRead(snapshot, address, length) != 0) ? 1 : 0;
  PMemClose();
  return failed;
}

Snapshot::Snapshot(uint16_t length) : length_(length) {
  if (length != 0 && !g_allocationFails) bytes_.reset(new (std::nothrow) uint8_t[length]);
}

void SetSnapshotAllocationFailsForTesting(bool fails) { g_allocationFails = fails; }

}  // namespace fwprobe

// 1 when a valid entry point is present; the table is not copied.
extern "C" FWPROBE_API int FWPROBE_CALL isSmbios(void) {
  if (fwprobe::SMBIOSLocateTable() != fwprobe::kLocated) return 0;
  PMemClose();
  return 1;
}
