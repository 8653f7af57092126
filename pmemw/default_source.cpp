// This machine, as well as it can be read: real memory through /dev/mem (so
// the BIOS area and its VPD block are there), with the table shown through
// sysfs when the BIOS area holds no valid legacy entry point (UEFI machines
// keep it elsewhere, some have only an SMBIOS 3 one); sysfs alone where
// /dev/mem cannot be read.
#include "legacy_view.h"
#include "source.h"

namespace pmemw {

Opened OpenDefault(const std::string &devMem, const std::string &sysfsDir) {
  Opened memory = OpenDevMem(devMem);
  if (memory.source) {
    std::vector<uint8_t> biosArea(kBiosAreaSize, 0);
    const bool readable = memory.source->Read(kBiosAreaStart, biosArea);
    if (readable && FirstEntryPoint(biosArea)) return memory;
    Opened over = OpenSysfsOver(sysfsDir, std::move(memory.source), biosArea);
    if (over.source) return over;
    return OpenDevMem(devMem);  // no tables to add: the BIOS area alone
  }
  Opened tables = OpenSysfs(sysfsDir);
  if (tables.source) return tables;
  return {nullptr,
          "cannot read physical memory (" + memory.error + ") nor the SMBIOS tables (" + tables.error + ")"};
}

}  // namespace pmemw
