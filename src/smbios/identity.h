// Identity queries shared between exports.
#ifndef FWPROBE_SMBIOS_IDENTITY_H
#define FWPROBE_SMBIOS_IDENTITY_H

#include <cstddef>

namespace fwprobe {

// What SMBIOSGetSystem answers, with each copy bounded to capacity bytes
// (string and NUL). Buffers are emptied first; null buffers are skipped.
int QuerySystem(char *manufacturer, char *productName, char *serialNumber, size_t capacity);

}  // namespace fwprobe

#endif
