// SMBIOS table access: entry-point location, the table snapshot and the query
// frame that every table-reading export runs.
#ifndef FWPROBE_SMBIOS_TABLE_ACCESS_H
#define FWPROBE_SMBIOS_TABLE_ACCESS_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "physmem/physmem.h"

namespace fwprobe {

// Module state: where the last successful location found the table. Read only
// by the query frame that ran that location.
extern uint32_t SMBIOSTableAddress;
extern uint16_t SMBIOSTableLength;

// Locator results.
enum LocateResult : int {
  kLocated = 0,       // entry point valid, module state set, service open
  kNotReady = 1,      // PMemIsInitialized said no
  kOpenFailed = 2,    // PMemOpen failed
  kNoEntryPoint = 3,  // no valid "_DMI_" between 0xF0000 and 0xFFFFF
  kReadFailed = 4,    // the 15 entry-point bytes could not be read
};

// Finds and validates the "_DMI_" entry point. On kLocated the service is left
// open for the copy; on every other result it is closed (or was never opened).
int SMBIOSLocateTable();

// Reads length bytes at physical address into snapshot, then closes the
// service whatever the read gave. 0 when the read succeeded, 1 when it failed.
int SMBIOSCopyTable(uint8_t *snapshot, uint32_t address, uint16_t length);

// The heap copy of the structure table made for one call. It owns its bytes
// and frees them when it goes out of scope, so no path out of an export can
// leak it.
class Snapshot {
 public:
  // An empty snapshot (length 0) needs no allocation and is always valid.
  explicit Snapshot(uint16_t length);
  bool allocated() const { return length_ == 0 || bytes_ != nullptr; }
  uint8_t *data() { return bytes_.get(); }
  std::span<const uint8_t> view() const { return {bytes_.get(), length_}; }

 private:
  std::unique_ptr<uint8_t[]> bytes_;
  uint16_t length_;
};

// Test seam: makes the next snapshot allocations fail, as on an exhausted
// heap.
void SetSnapshotAllocationFailsForTesting(bool fails);

// Runs the query frame: locate the entry point, allocate the snapshot, copy
// the table (which closes the service), then answer with middle(view).
// Returns noEntryPoint when the table cannot be had: no entry point, the
// snapshot cannot be allocated, or the table read failed; a snapshot that was
// never filled is never searched. The service is closed on every path on
// which it was opened, and the snapshot is freed on every path.
template <class Middle>
int RunQueryFrame(int noEntryPoint, Middle &&middle) {
  if (SMBIOSLocateTable() != kLocated) return noEntryPoint;
  const uint32_t address = SMBIOSTableAddress;
  const uint16_t length = SMBIOSTableLength;
  Snapshot snapshot(length);
  if (!snapshot.allocated()) {
    PMemClose();
    return noEntryPoint;
  }
  if (SMBIOSCopyTable(snapshot.data(), address, length) != 0) return noEntryPoint;
  return middle(snapshot.view());
}

}  // namespace fwprobe

#endif
