#include <array>
#include <vector>

#include "answers.h"
#include "fwprobe.h"
#include "pmemw.h"

namespace fwprobe::cli {

Answers Collect() {
  Answers a;
  a.source = PMemSourceName();

  // Every output buffer starts as an empty string; SMBIOS strings get the
  // size that can never overflow.
  std::vector<char> b1(FWPROBE_SMBIOS_STRING_MAX, '\0');
  std::vector<char> b2(FWPROBE_SMBIOS_STRING_MAX, '\0');
  std::vector<char> b3(FWPROBE_SMBIOS_STRING_MAX, '\0');

  a.isSmbios = isSmbios();
  a.systemResult = SMBIOSGetSystem(b1.data(), b2.data(), b3.data());
  a.manufacturer = b1.data();
  a.productName = b2.data();
  a.serialNumber = b3.data();

  b1[0] = b2[0] = b3[0] = '\0';
  a.biosResult = SMBIOSGetBiosInfo(b1.data(), b2.data(), b3.data());
  a.vendor = b1.data();
  a.version = b2.data();
  a.releaseDate = b3.data();

  a.isZaq = isZaqSmbios();

  std::array<char, 5> machineType{};
  a.machineTypeResult = SMBIOSGetMachineType(machineType.data());
  a.machineType = machineType.data();

  a.isPelorin = isPelorinSmbios();
  a.h8 = SMBIOSIsH8Enabled();
  a.marlix = SMBIOSIsMarlixEnabled();
  a.ipmi = SMBIOSQueryIpmi();

  std::array<unsigned char, 256> vpd{};
  a.vpdLength = static_cast<int>(vpd.size());
  a.vpdLoadResult = VPDLoadData(vpd.data(), &a.vpdLength);

  std::array<char, 17> system{};
  a.vpdSystemResult = VPDGetSystem(system.data(), static_cast<int>(system.size()), vpd.data());
  a.vpdSystem = system.data();
  std::array<char, 12> board{};
  a.vpdMotherboardResult = VPDGetMotherboard(board.data(), static_cast<int>(board.size()), vpd.data());
  a.vpdMotherboard = board.data();
  return a;
}

}  // namespace fwprobe::cli
