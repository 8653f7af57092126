#include <cstdio>
#include <sstream>

#include "answers.h"

namespace fwprobe::cli {

namespace {

// A firmware string for a terminal: quoted, with control bytes and bytes
// from 0x80 up shown as \xNN so that they cannot garble the screen.
std::string Quoted(const std::string &s) {
  std::string out = "\"";
  for (char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c >= 0x7F || c == '"' || c == '\\') {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string YesNo(int answer, const char *yes, const char *no) { return answer == 1 ? yes : no; }

// An identity string, or why there is none (result 1 or 2 of the query).
std::string Identity(int result, const char *missing, const std::string &value) {
  if (result == 1) return "not found: no SMBIOS entry point";
  if (result == 2) return std::string("not found: ") + missing;
  return value;
}

std::string VpdLoad(int result, int length) {
  switch (result) {
    case 0:
      return "VPD block loaded, " + std::to_string(length) + " bytes";
    case 62:
      return "not loaded: the physical-memory service could not be opened (62)";
    case 63:
      return "not loaded: the physical-memory service is not ready (63)";
    case 64:
      return "no VPD block found (64)";
    default:
      return "result " + std::to_string(result);
  }
}

std::string VpdField(int result, const std::string &value) {
  return result == 0 ? Quoted(value) : "none: no VPD block loaded (" + std::to_string(result) + ")";
}

std::string MachineType(int result, const std::string &value) {
  switch (result) {
    case 1:
      return value;
    case 2:
      return "not found: the product name holds no four-digit machine type";
    case 3:
      return "not found: no SMBIOS entry point or no System Information structure";
    default:
      return "result " + std::to_string(result);
  }
}

}  // namespace

std::string RenderText(const Answers &a) {
  constexpr const char *kNoSystem = "the table holds no System Information structure";
  constexpr const char *kNoStructure = "the table holds no structure";
  std::ostringstream out;
  auto line = [&out](const char *label, const std::string &value) {
    const std::string name = label;
    out << name << std::string(name.size() < 24 ? 24 - name.size() : 1, ' ') << value << "\n";
  };
  line("Source", a.source);
  line("SMBIOS entry point", YesNo(a.isSmbios, "found", "not found"));
  line("System manufacturer", Identity(a.systemResult, kNoSystem, Quoted(a.manufacturer)));
  line("System product name", Identity(a.systemResult, kNoSystem, Quoted(a.productName)));
  line("System serial number", Identity(a.systemResult, kNoSystem, Quoted(a.serialNumber)));
  line("BIOS vendor", Identity(a.biosResult, kNoStructure, Quoted(a.vendor)));
  line("BIOS version", Identity(a.biosResult, kNoStructure, Quoted(a.version)));
  line("BIOS release date", Identity(a.biosResult, kNoStructure, Quoted(a.releaseDate)));
  line("ZAQ manufacturer", YesNo(a.isZaq, "yes", "no"));
  line("Machine type", MachineType(a.machineTypeResult, a.machineType));
  line("Network alerting", YesNo(a.isPelorin, "announced", "not announced"));
  line("Service processor", YesNo(a.h8, "announced", "not announced"));
  line("Management adapter", YesNo(a.marlix, "announced", "not announced"));
  line("IPMI controller", YesNo(a.ipmi, "present", "not present"));
  line("VPD block", VpdLoad(a.vpdLoadResult, a.vpdLength));
  line("VPD system identity", VpdField(a.vpdSystemResult, a.vpdSystem));
  line("VPD motherboard", VpdField(a.vpdMotherboardResult, a.vpdMotherboard));
  return out.str();
}

}  // namespace fwprobe::cli
