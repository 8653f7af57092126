// Writes the seed corpora: tables from the test fixtures, and the BIOS area
// and table of each sample image (the entry point moved to name the table at
// the fuzz address space's table address).
//   make_seeds EXPORTS_DIR NAVIGATION_DIR SAMPLE.img...
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "address_space.h"
#include "support/fixtures.h"

using namespace fwprobe::testing;
using fwprobe::fuzz::Encode;

namespace {

void WriteFile(const std::string &path, const Bytes &bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A BIOS area with a valid entry point naming table at the table address,
// and a VPD block.
Bytes BiosArea(uint16_t tableLength) {
  Bytes area(0x200, 0);
  const Bytes ep = EntryPoint(fwprobe::fuzz::kTableArea, tableLength);
  std::copy(ep.begin(), ep.end(), area.begin() + 0x40);
  Bytes vpd = VpdBlock(0x30);
  Put(vpd, 22, "23A4567");
  Put(vpd, 29, "MB-1234_567");
  Put(vpd, 40, "8670AB1");
  std::copy(vpd.begin(), vpd.end(), area.begin() + 0x100);
  return area;
}

std::vector<Bytes> FixtureTables() {
  return {
      Concat({BiosInfo("Vendor", "1.0", "01/02/2025"), SystemInfo("ZAQ Inc", "Server -[8670AB]-", "SN1")}),
      Concat({OemStrings({"ZAQ Telvane SP"}), OemStrings({"xx ZAQ Marlix -[1234]"}, 3),
              Structure(130, {1}, {"Pelorin"}), Structure(38, {1, 2, 3})}),
      Concat({SystemInfo("M", "1234ABC", ""), Structure(127, {})}),
      Bytes{2, 40, 0, 0, 1, 2, 3},
      Bytes{11, 5, 0, 0, 3, 'a', 0, 'b'},
  };
}

// The first MiB of a sample: its BIOS area up to the end of what the
// firmware put there, and the table its entry point names.
bool FromImage(const std::string &path, Bytes &bios, Bytes &table) {
  std::ifstream f(path, std::ios::binary);
  const Bytes image((std::istreambuf_iterator<char>(f)), {});
  if (image.size() < 0x100000) return false;
  for (size_t at = 0xF0000; at + 15 <= 0x100000; at += 16) {
    if (std::string(image.begin() + static_cast<long>(at), image.begin() + static_cast<long>(at) + 5) !=
        "_DMI_")
      continue;
    uint32_t address = 0;
    for (size_t i = 0; i < 4; ++i) address |= uint32_t{image[at + 8 + i]} << (8 * i);
    const uint16_t length = static_cast<uint16_t>(image[at + 6] | (image[at + 7] << 8));
    if (address + length > image.size()) return false;
    table.assign(image.begin() + address, image.begin() + address + length);
    bios.assign(image.begin() + 0xF0000, image.begin() + 0x100000);
    const Bytes ep = EntryPoint(fwprobe::fuzz::kTableArea, length);
    std::copy(ep.begin(), ep.end(), bios.begin() + static_cast<long>(at - 0xF0000));
    // Keep the seed small: the area only up to the entry point and the VPD block.
    size_t end = at - 0xF0000 + 16;
    for (size_t v = 0; v + 5 < bios.size(); v += 16)
      if (bios[v] == 0xAA && bios[v + 1] == 0x55 && bios[v + 2] == 'V') end = std::max(end, v + 256);
    bios.resize(std::min(end, bios.size()));
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: make_seeds EXPORTS_DIR NAVIGATION_DIR [SAMPLE.img...]\n");
    return 2;
  }
  const std::string exports = argv[1], navigation = argv[2];
  int n = 0;
  for (const Bytes &table : FixtureTables()) {
    WriteFile(exports + "/fixture-" + std::to_string(n) + ".bin",
              Encode(0, BiosArea(static_cast<uint16_t>(table.size())), table));
    WriteFile(navigation + "/fixture-" + std::to_string(n) + ".bin", table);
    ++n;
  }
  for (int i = 3; i < argc; ++i) {
    Bytes bios, table;
    if (!FromImage(argv[i], bios, table)) continue;
    WriteFile(exports + "/sample-" + std::to_string(i) + ".bin", Encode(0, bios, table));
    WriteFile(navigation + "/sample-" + std::to_string(i) + ".bin", table);
  }
  return 0;
}
