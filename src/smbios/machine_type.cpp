// The four-digit machine type derived from the system product name.
#include <cstring>

#include "fwprobe.h"
#include "smbios/identity.h"
#include "smbios/text.h"

namespace {

constexpr size_t kWorkingBuffer = 256;  // product names are cut to 255 characters here
constexpr size_t kMachineTypeDigits = 4;

}  // namespace

extern "C" FWPROBE_API int FWPROBE_CALL SMBIOSGetMachineType(char *machineType) {
  fwprobe::ClearString(machineType);
  char manufacturer[kWorkingBuffer];
  char productName[kWorkingBuffer];
  char serialNumber[kWorkingBuffer];
  if (fwprobe::QuerySystem(manufacturer, productName, serialNumber, kWorkingBuffer) != 0) return 3;

  // The machine type follows the first "-[" when there is one; otherwise the
  // name begins with it. The fallback is not tried once a marker is found.
  const char *marker = std::strstr(productName, "-[");
  const char *candidate = marker != nullptr ? marker + 2 : productName;
  // Testing stops at the first non-digit, so the string's NUL ends it and no
  // byte past the NUL is read.
  for (size_t i = 0; i < kMachineTypeDigits; ++i)
    if (candidate[i] < '0' || candidate[i] > '9') return 2;

  if (machineType != nullptr) {
    std::memcpy(machineType, candidate, kMachineTypeDigits);
    machineType[kMachineTypeDigits] = '\0';
  }
  return 1;
}
