#include <nlohmann/json.hpp>

#include "answers.h"

namespace fwprobe::cli {

namespace {

// Each byte becomes the code point of the same value (so 0xE9 is U+00E9),
// encoded as UTF-8: nothing is lost or altered, whatever the firmware holds.
std::string Latin1ToUtf8(const std::string &bytes) {
  std::string out;
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

std::string RenderJson(const Answers &a) {
  using J = nlohmann::ordered_json;
  J j;
  j["isSmbios"] = a.isSmbios;
  j["SMBIOSGetSystem"] = J{{"result", a.systemResult},
                           {"manufacturer", Latin1ToUtf8(a.manufacturer)},
                           {"productName", Latin1ToUtf8(a.productName)},
                           {"serialNumber", Latin1ToUtf8(a.serialNumber)}};
  j["SMBIOSGetBiosInfo"] = J{{"result", a.biosResult},
                             {"vendor", Latin1ToUtf8(a.vendor)},
                             {"version", Latin1ToUtf8(a.version)},
                             {"releaseDate", Latin1ToUtf8(a.releaseDate)}};
  j["isZaqSmbios"] = a.isZaq;
  j["SMBIOSGetMachineType"] =
      J{{"result", a.machineTypeResult}, {"machineType", Latin1ToUtf8(a.machineType)}};
  j["isPelorinSmbios"] = a.isPelorin;
  j["SMBIOSIsH8Enabled"] = a.h8;
  j["SMBIOSIsMarlixEnabled"] = a.marlix;
  j["SMBIOSQueryIpmi"] = a.ipmi;
  j["VPDLoadData"] = J{{"result", a.vpdLoadResult}, {"length", a.vpdLength}};
  j["VPDGetSystem"] = J{{"result", a.vpdSystemResult}, {"identity", Latin1ToUtf8(a.vpdSystem)}};
  j["VPDGetMotherboard"] =
      J{{"result", a.vpdMotherboardResult}, {"identity", Latin1ToUtf8(a.vpdMotherboard)}};
  return j.dump(1) + "\n";
}

}  // namespace fwprobe::cli
