// fwprobe.dll on the machine's own firmware tables, with no source named:
// what it reads must be what a small independent reader of the 'RSMB'
// table reads, and with no 'FIRM' provider the VPD loader finds no block.
// Given the output of "fwprobe.exe --json" (run with no source option), the
// tool's answers are held to the same reader.
//   firmware_test.exe [FWPROBE_JSON]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "expect.h"
#include "fwprobe.h"

namespace {

using windows_test::Expect;

// An independent reader of the raw table: the structures in order, each
// with its type, formatted bytes and strings.
struct Structure {
  int type;
  std::vector<unsigned char> formatted;
  std::vector<std::string> strings;
  std::string String(size_t offset) const {
    if (offset >= formatted.size()) return "";
    const unsigned n = formatted[offset];
    return n == 0 || n > strings.size() ? "" : strings[n - 1];
  }
};

std::vector<Structure> Parse(const std::vector<unsigned char> &t) {
  std::vector<Structure> out;
  size_t p = 0;
  while (p + 4 <= t.size() && p + t[p + 1] <= t.size()) {
    const auto begin = t.begin() + static_cast<std::ptrdiff_t>(p);
    Structure s{t[p], std::vector<unsigned char>(begin, begin + t[p + 1]), {}};
    size_t q = p + t[p + 1];
    while (q < t.size() && t[q] != 0) {
      std::string str;
      while (q < t.size() && t[q] != 0) str += static_cast<char>(t[q++]);
      s.strings.push_back(str);
      ++q;
    }
    out.push_back(s);
    p = (s.strings.empty() ? q + 2 : q + 1);
  }
  return out;
}

}  // namespace

int main(int argc, char **argv) {
  const DWORD rsmb = 0x52534D42;  // 'RSMB'
  const UINT size = GetSystemFirmwareTable(rsmb, 0, nullptr, 0);
  Expect(size > 8, "GetSystemFirmwareTable answers 'RSMB'");
  std::vector<unsigned char> raw(size);
  GetSystemFirmwareTable(rsmb, 0, raw.data(), size);
  const size_t length =
      raw.size() >= 8 ? raw[4] | raw[5] << 8 | raw[6] << 16 | static_cast<size_t>(raw[7]) << 24 : 0;
  const std::vector<unsigned char> table(raw.begin() + 8,
                                         raw.begin() + 8 + static_cast<std::ptrdiff_t>(length));
  const auto structures = Parse(table);
  std::printf("'RSMB' holds %u bytes, %u structures\n", static_cast<unsigned>(length),
              static_cast<unsigned>(structures.size()));

  const Structure *system = nullptr;
  for (const auto &s : structures)
    if (s.type == 1 && system == nullptr) system = &s;

  Expect(isSmbios() == 1, "isSmbios");
  std::vector<char> a(FWPROBE_SMBIOS_STRING_MAX), b(FWPROBE_SMBIOS_STRING_MAX), c(FWPROBE_SMBIOS_STRING_MAX);
  const int sys = SMBIOSGetSystem(a.data(), b.data(), c.data());
  if (system != nullptr) {
    Expect(sys == 0, "SMBIOSGetSystem");
    Expect(a.data() == system->String(4), "manufacturer '" + std::string(a.data()) + "'");
    Expect(b.data() == system->String(5), "product name '" + std::string(b.data()) + "'");
    Expect(c.data() == system->String(7), "serial number '" + std::string(c.data()) + "'");
  } else {
    Expect(sys == 2, "SMBIOSGetSystem without a type-1 structure");
  }
  Expect(SMBIOSGetBiosInfo(a.data(), b.data(), c.data()) == (structures.empty() ? 2 : 0),
         "SMBIOSGetBiosInfo");
  if (!structures.empty()) {
    Expect(a.data() == structures[0].String(4), "vendor '" + std::string(a.data()) + "'");
    Expect(b.data() == structures[0].String(5), "version '" + std::string(b.data()) + "'");
    Expect(c.data() == structures[0].String(8), "release date '" + std::string(c.data()) + "'");
  }
  if (argc > 1) {
    std::ifstream f(argv[1]);
    const auto tool = nlohmann::json::parse(f, nullptr, false);
    Expect(!tool.is_discarded(), "fwprobe.exe --json output parses");
    if (!tool.is_discarded()) {
      Expect(tool["isSmbios"] == 1, "fwprobe.exe finds the entry point");
      if (system != nullptr) {
        const auto &t = tool["SMBIOSGetSystem"];
        Expect(t["manufacturer"] == system->String(4) && t["productName"] == system->String(5) &&
                   t["serialNumber"] == system->String(7),
               "fwprobe.exe system strings");
      }
      if (!structures.empty()) {
        const auto &t = tool["SMBIOSGetBiosInfo"];
        Expect(t["vendor"] == structures[0].String(4) && t["version"] == structures[0].String(5) &&
                   t["releaseDate"] == structures[0].String(8),
               "fwprobe.exe BIOS strings");
      }
      Expect(tool["VPDLoadData"]["result"] == 64, "fwprobe.exe finds no VPD block");
    }
  }
  unsigned char vpd[256] = {};
  int capacity = 256;
  Expect(VPDLoadData(vpd, &capacity) == 64, "VPDLoadData finds no block without 'FIRM'");

  return windows_test::Finish("firmware_test");
}
