#include "windows_source.h"

#include "legacy_view.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace pmemw {

namespace {

constexpr size_t kRsmbHeader = 8;                 // calling method, major, minor, DMI revision, 32-bit length
constexpr uint32_t kRsmbTableAddress = 0x100000;  // where the view puts a table that has no address
constexpr uint32_t kFirmRanges[] = {0xC0000, 0xE0000};

uint32_t Le32(const std::vector<uint8_t> &b, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v |= uint32_t{b[at + i]} << (8 * i);
  return v;
}

}  // namespace

Opened BuildFirmwareView(const FirmwareTableCall &call) {
  std::vector<std::pair<uint32_t, std::vector<uint8_t>>> ranges;
  for (uint32_t range : kFirmRanges)
    if (auto bytes = call(kProviderFirm, range); bytes && !bytes->empty())
      ranges.emplace_back(range, std::move(*bytes));

  std::optional<std::vector<uint8_t>> table;
  TableInfo info;
  // The header's length must agree with what the provider handed over.
  const auto rsmb = call(kProviderRsmb, 0);
  if (rsmb && rsmb->size() >= kRsmbHeader && Le32(*rsmb, 4) <= rsmb->size() - kRsmbHeader) {
    table.emplace(rsmb->begin() + kRsmbHeader,
                  rsmb->begin() + static_cast<std::ptrdiff_t>(kRsmbHeader + Le32(*rsmb, 4)));
    info.major = (*rsmb)[1];
    info.minor = (*rsmb)[2];
    info.address = kRsmbTableAddress;
  }
  if (ranges.empty() && !table) return {nullptr, "GetSystemFirmwareTable answers neither 'RSMB' nor 'FIRM'"};

  const bool firm = !ranges.empty();
  auto view = std::make_unique<RegionSource>(std::string("Windows firmware tables (") +
                                             (table ? (firm ? "RSMB and FIRM)" : "RSMB)") : "FIRM)"));
  for (auto &[address, bytes] : ranges) view->Place(address, std::move(bytes));
  if (!table) return {std::move(view), ""};

  std::vector<uint8_t> area(kBiosAreaSize, 0);
  view->Read(kBiosAreaStart, area);
  if (const auto own = FirstEntryPoint(area)) {
    // The firmware's own entry point: the table Windows reports is shown
    // where it names it (never zeros posing as a table), unless the BIOS
    // ranges already hold it there.
    if (!view->Overlaps(own->address, own->length)) view->Place(own->address, std::move(*table));
    return {std::move(view), ""};
  }
  // No usable entry point of the firmware's own: the table is shown through
  // a legacy one at a blank spot, or (too long for one) not at all.
  PlaceLegacyView(*view, info, std::move(*table), [&area](uint32_t at) { return BlankSpot(area, at); });
  return {std::move(view), ""};
}

#if defined(_WIN32)
Opened OpenWindowsFirmware() {
  return BuildFirmwareView([](uint32_t provider, uint32_t id) -> std::optional<std::vector<uint8_t>> {
    const UINT size = GetSystemFirmwareTable(provider, id, nullptr, 0);
    if (size == 0) return std::nullopt;
    std::vector<uint8_t> bytes(size);
    const UINT got = GetSystemFirmwareTable(provider, id, bytes.data(), size);
    if (got == 0 || got > size) return std::nullopt;
    bytes.resize(got);
    return bytes;
  });
}
#else
Opened OpenWindowsFirmware() { return {nullptr, "GetSystemFirmwareTable exists only on Windows"}; }
#endif

}  // namespace pmemw
