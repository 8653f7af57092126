// The twelve exports as a caller makes them, each a function with its own
// buffers, so a benchmark row is one call.
#ifndef FWPROBE_BENCH_EXPORTS_H
#define FWPROBE_BENCH_EXPORTS_H

#include <array>
#include <vector>

#include "fwprobe.h"

namespace fwprobe::bench {

struct ExportCall {
  const char *name;
  int (*call)();
  bool vpd;  // measured against the VPD baseline
};

inline char *Big(int which) {
  static std::vector<char> buffers[3] = {std::vector<char>(FWPROBE_SMBIOS_STRING_MAX),
                                         std::vector<char>(FWPROBE_SMBIOS_STRING_MAX),
                                         std::vector<char>(FWPROBE_SMBIOS_STRING_MAX)};
  return buffers[which].data();
}

inline unsigned char *Vpd() {
  static std::array<unsigned char, 256> vpd{};
  return vpd.data();
}

inline const ExportCall kExports[] = {
    {"isSmbios", [] { return isSmbios(); }, false},
    {"SMBIOSGetSystem", [] { return SMBIOSGetSystem(Big(0), Big(1), Big(2)); }, false},
    {"SMBIOSGetBiosInfo", [] { return SMBIOSGetBiosInfo(Big(0), Big(1), Big(2)); }, false},
    {"isZaqSmbios", [] { return isZaqSmbios(); }, false},
    {"SMBIOSGetMachineType",
     [] {
       char type[5];
       return SMBIOSGetMachineType(type);
     },
     false},
    {"isPelorinSmbios", [] { return isPelorinSmbios(); }, false},
    {"SMBIOSIsH8Enabled", [] { return SMBIOSIsH8Enabled(); }, false},
    {"SMBIOSIsMarlixEnabled", [] { return SMBIOSIsMarlixEnabled(); }, false},
    {"SMBIOSQueryIpmi", [] { return SMBIOSQueryIpmi(); }, false},
    {"VPDLoadData",
     [] {
       int length = 256;
       return VPDLoadData(Vpd(), &length);
     },
     true},
    {"VPDGetSystem",
     [] {
       char out[17];
       return VPDGetSystem(out, 17, Vpd());
     },
     true},
    {"VPDGetMotherboard",
     [] {
       char out[12];
       return VPDGetMotherboard(out, 12, Vpd());
     },
     true},
};

}  // namespace fwprobe::bench

#endif
