// Loads fwprobe.dll the way a management application does, with LoadLibrary
// and GetProcAddress by name, and checks the twelve answers on each sample
// image through pmemw.dll against the sample's expected answers.
//   loadlib_test.exe SAMPLES_DIR
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

template <class Fn>
Fn Find(HMODULE dll, const char *name) {
  auto proc = GetProcAddress(dll, name);
  Expect(proc != nullptr, std::string("GetProcAddress ") + name);
  return reinterpret_cast<Fn>(reinterpret_cast<void *>(proc));
}

// Latin-1 bytes as UTF-8, as the expected answers are written.
std::string Utf8(const char *bytes) {
  std::string out;
  for (const unsigned char *p = reinterpret_cast<const unsigned char *>(bytes); *p; ++p) {
    if (*p < 0x80) {
      out += static_cast<char>(*p);
    } else {
      out += static_cast<char>(0xC0 | (*p >> 6));
      out += static_cast<char>(0x80 | (*p & 0x3F));
    }
  }
  return out;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::printf("usage: loadlib_test SAMPLES_DIR\n");
    return 2;
  }
  HMODULE dll = LoadLibraryA("fwprobe.dll");
  Expect(dll != nullptr, "LoadLibrary fwprobe.dll");
  if (dll == nullptr) return 1;
  const auto pIsSmbios = Find<decltype(&isSmbios)>(dll, "isSmbios");
  const auto pGetSystem = Find<decltype(&SMBIOSGetSystem)>(dll, "SMBIOSGetSystem");
  const auto pGetBios = Find<decltype(&SMBIOSGetBiosInfo)>(dll, "SMBIOSGetBiosInfo");
  const auto pIsZaq = Find<decltype(&isZaqSmbios)>(dll, "isZaqSmbios");
  const auto pMachineType = Find<decltype(&SMBIOSGetMachineType)>(dll, "SMBIOSGetMachineType");
  const auto pIsPelorin = Find<decltype(&isPelorinSmbios)>(dll, "isPelorinSmbios");
  const auto pH8 = Find<decltype(&SMBIOSIsH8Enabled)>(dll, "SMBIOSIsH8Enabled");
  const auto pMarlix = Find<decltype(&SMBIOSIsMarlixEnabled)>(dll, "SMBIOSIsMarlixEnabled");
  const auto pIpmi = Find<decltype(&SMBIOSQueryIpmi)>(dll, "SMBIOSQueryIpmi");
  const auto pLoad = Find<decltype(&VPDLoadData)>(dll, "VPDLoadData");
  const auto pVpdSystem = Find<decltype(&VPDGetSystem)>(dll, "VPDGetSystem");
  const auto pVpdBoard = Find<decltype(&VPDGetMotherboard)>(dll, "VPDGetMotherboard");
  if (windows_test::failed != 0) return 1;
  Expect(GetProcAddress(dll, "_SMBIOSGetSystem@12") == nullptr, "no decorated name is exported");

  for (const char *sample : {"zaq-server", "pelorin-oem", "plain", "smbios3"}) {
    const std::string dir = argv[1];
    std::ifstream f(dir + "\\" + sample + ".expected.json");
    const auto want = nlohmann::json::parse(f);
    const std::string source = "image:" + dir + "\\" + sample + ".img";
    _putenv_s("PMEMW_SOURCE", source.c_str());
    const std::string at = std::string(" on ") + sample;

    std::vector<char> a(FWPROBE_SMBIOS_STRING_MAX), b(FWPROBE_SMBIOS_STRING_MAX),
        c(FWPROBE_SMBIOS_STRING_MAX);
    Expect(pIsSmbios() == want["isSmbios"], "isSmbios" + at);
    const auto &sys = want["SMBIOSGetSystem"];
    Expect(pGetSystem(a.data(), b.data(), c.data()) == sys["result"], "SMBIOSGetSystem" + at);
    Expect(Utf8(a.data()) == sys["manufacturer"] && Utf8(b.data()) == sys["productName"] &&
               Utf8(c.data()) == sys["serialNumber"],
           "SMBIOSGetSystem strings" + at);
    const auto &bios = want["SMBIOSGetBiosInfo"];
    Expect(pGetBios(a.data(), b.data(), c.data()) == bios["result"], "SMBIOSGetBiosInfo" + at);
    Expect(Utf8(a.data()) == bios["vendor"] && Utf8(b.data()) == bios["version"] &&
               Utf8(c.data()) == bios["releaseDate"],
           "SMBIOSGetBiosInfo strings" + at);
    Expect(pIsZaq() == want["isZaqSmbios"], "isZaqSmbios" + at);
    char type[5] = "";
    Expect(pMachineType(type) == want["SMBIOSGetMachineType"]["result"], "SMBIOSGetMachineType" + at);
    Expect(std::string(type) == want["SMBIOSGetMachineType"]["machineType"], "machine type" + at);
    Expect(pIsPelorin() == want["isPelorinSmbios"], "isPelorinSmbios" + at);
    Expect(pH8() == want["SMBIOSIsH8Enabled"], "SMBIOSIsH8Enabled" + at);
    Expect(pMarlix() == want["SMBIOSIsMarlixEnabled"], "SMBIOSIsMarlixEnabled" + at);
    Expect(pIpmi() == want["SMBIOSQueryIpmi"], "SMBIOSQueryIpmi" + at);
    unsigned char vpd[256] = {};
    int length = 256;
    Expect(pLoad(vpd, &length) == want["VPDLoadData"]["result"], "VPDLoadData" + at);
    Expect(length == want["VPDLoadData"]["length"], "VPDLoadData length" + at);
    if (want["VPDLoadData"]["result"] ==
        0) {  // the flag stays set afterwards: check where a block was loaded
      char system[17] = "", board[12] = "";
      Expect(pVpdSystem(system, 17, vpd) == 0 && want["VPDGetSystem"]["identity"] == system,
             "VPDGetSystem" + at);
      Expect(pVpdBoard(board, 12, vpd) == 0 && want["VPDGetMotherboard"]["identity"] == board,
             "VPDGetMotherboard" + at);
    }
  }
  FreeLibrary(dll);
  return windows_test::Finish("loadlib_test");
}
