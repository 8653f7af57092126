// This machine's SMBIOS tables as the kernel exports them under
// /sys/firmware/dmi/tables: the entry point and the table ("DMI"), shown
// like a dump file. There is no BIOS area here, so no VPD block.
#include "legacy_view.h"
#include "source.h"

namespace pmemw {

namespace {

// The table of dir, laid over base (or over nothing) through the legacy
// view; the entry point goes where usable(address) says the base is free.
template <class Usable>
Opened SysfsView(const std::string &dir, std::unique_ptr<Source> base, std::string name, Usable usable) {
  std::vector<uint8_t> entryPoint, table;
  std::string error;
  if (!ReadWholeFile(dir + "/smbios_entry_point", entryPoint, error) ||
      !ReadWholeFile(dir + "/DMI", table, error))
    return {nullptr, error};
  const auto info = ParseEntryPoint(entryPoint);
  if (!info) return {nullptr, dir + "/smbios_entry_point holds no valid entry point"};
  auto view = std::make_unique<RegionSource>(std::move(name), std::move(base));
  if (!PlaceLegacyView(*view, *info, std::move(table), usable))
    return {nullptr, "the table in " + dir + " cannot be shown through a legacy entry point"};
  return {std::move(view), ""};
}

}  // namespace

Opened OpenSysfs(const std::string &dir) {
  return SysfsView(dir, nullptr, "sysfs tables " + dir, [](uint32_t) { return true; });
}

// The table of dir shown over real memory: the entry point goes to a 16-byte
// step of the BIOS area that holds only 0x00 or 0xFF bytes, so it hides
// nothing the firmware put there.
Opened OpenSysfsOver(const std::string &dir, std::unique_ptr<Source> memory,
                     std::span<const uint8_t> biosArea) {
  auto blank = [biosArea](uint32_t at) { return BlankSpot(biosArea, at); };
  std::string name = memory->Name() + " with the sysfs tables of " + dir;
  return SysfsView(dir, std::move(memory), std::move(name), blank);
}

}  // namespace pmemw
