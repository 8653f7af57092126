// The Windows source: the firmware data Windows hands to any process through
// GetSystemFirmwareTable, without a driver. Provider 'RSMB' gives the raw
// SMBIOS table behind a small header; provider 'FIRM' gives raw legacy BIOS
// memory ranges (table ids 0xC0000 and 0xE0000), where Windows still offers
// it. The provider calls sit behind a seam so that the view is built and
// tested anywhere.
#ifndef PMEMW_WINDOWS_SOURCE_H
#define PMEMW_WINDOWS_SOURCE_H

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "source.h"

namespace pmemw {

constexpr uint32_t kProviderRsmb = 0x52534D42;  // 'RSMB'
constexpr uint32_t kProviderFirm = 0x4649524D;  // 'FIRM'

// One provider call: the table's bytes, or none where the provider does not
// answer.
using FirmwareTableCall = std::function<std::optional<std::vector<uint8_t>>(uint32_t provider, uint32_t id)>;

// Builds the physical-memory view from what the providers answer: the 'FIRM'
// ranges at their addresses (so the VPD block and the firmware's own entry
// point are found), and the 'RSMB' table at the address that entry point
// names or, where the BIOS area holds no usable one, shown through a legacy
// "_DMI_" entry point. A table too long for the legacy 16-bit length is not
// shown at all. Where neither provider answers, there is no source.
Opened BuildFirmwareView(const FirmwareTableCall &call);

// The view over this machine's GetSystemFirmwareTable (Windows builds).
Opened OpenWindowsFirmware();

}  // namespace pmemw

#endif
