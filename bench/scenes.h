// The firmware the benchmarks run on, and the least work any query must do
// on it (the baseline), written as bare loops rather than the library's code.
#ifndef FWPROBE_BENCH_SCENES_H
#define FWPROBE_BENCH_SCENES_H

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace fwprobe::bench {

constexpr uint32_t kBiosArea = 0xF0000;
constexpr uint32_t kWorstTableAddress = 0x100000;

// A BIOS area (0xF0000-0xFFFFF) with an entry point and a VPD block, and the
// table that entry point names.
struct Scene {
  std::string name;
  std::vector<uint8_t> bios;
  uint32_t tableAddress = 0;
  std::vector<uint8_t> table;
};

inline std::vector<uint8_t> ReadFile(const std::string &path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(f), {}};
}

inline uint32_t Le(const std::vector<uint8_t> &b, size_t at, int width) {
  uint32_t v = 0;
  for (int i = 0; i < width; ++i) v |= uint32_t{b[at + static_cast<size_t>(i)]} << (8 * i);
  return v;
}

// The lowest valid "_DMI_" entry point at a 16-byte step: the baseline scan.
inline size_t ScanAnchor(const std::vector<uint8_t> &bios) {
  for (size_t at = 0; at + 15 <= bios.size(); at += 16) {
    if (std::memcmp(bios.data() + at, "_DMI_", 5) != 0) continue;
    uint8_t sum = 0;
    for (size_t i = 0; i < 15; ++i) sum = static_cast<uint8_t>(sum + bios[at + i]);
    if (sum == 0) return at;
  }
  return SIZE_MAX;
}

// The VPD signature at a 16-byte step.
inline size_t ScanVpd(const std::vector<uint8_t> &bios) {
  for (size_t at = 0; at + 6 <= bios.size(); at += 16)
    if (std::memcmp(bios.data() + at, "\xAA\x55VPD", 5) == 0) return at;
  return SIZE_MAX;
}

// One bare walk over all structures: the number of structures.
inline size_t Walk(const uint8_t *t, size_t n) {
  size_t count = 0;
  for (size_t p = 0; p + 1 < n; ++count) {
    p += t[p + 1];
    while (p + 1 < n && (t[p] != 0 || t[p + 1] != 0)) ++p;
    p += 2;
  }
  return count;
}

// The sample image: its BIOS area and the table its entry point names.
inline Scene SampleScene(const std::string &image) {
  const std::vector<uint8_t> mem = ReadFile(image);
  Scene s{"sample", std::vector<uint8_t>(mem.begin() + kBiosArea, mem.begin() + 0x100000), 0, {}};
  const size_t at = ScanAnchor(s.bios);
  if (at == SIZE_MAX) throw std::runtime_error("no entry point in " + image);
  s.tableAddress = Le(s.bios, at + 8, 4);
  const uint32_t length = Le(s.bios, at + 6, 2);
  s.table.assign(mem.begin() + s.tableAddress, mem.begin() + s.tableAddress + length);
  return s;
}

inline void Append(std::vector<uint8_t> &t, std::initializer_list<uint8_t> bytes) {
  t.insert(t.end(), bytes);
}

// A 65,535-byte table of minimal structures; when wantedLast, the structures
// the queries look for (System Information, OEM Strings with the marks, an
// OEM type 130, IPMI) close it, else they are absent. The sample's BIOS area
// is kept, with its entry point naming this table.
inline Scene WorstScene(const Scene &sample, bool wantedLast) {
  std::vector<uint8_t> wanted;
  if (wantedLast) {
    Append(wanted, {1, 8, 0, 1, 1, 2, 0, 0, 'Z', 'A', 'Q', 0, '-', '[', '8', '6', '7', '0', 0, 0});
    Append(wanted, {11, 5, 0, 2, 1});
    for (char c : std::string("ZAQ Telvane ZAQ Marlix -[")) wanted.push_back(static_cast<uint8_t>(c));
    Append(wanted, {0, 0});
    Append(wanted, {130, 5, 0, 3, 1, 'P', 'e', 'l', 'o', 'r', 'i', 'n', 0, 0});
    Append(wanted, {38, 4, 0, 4, 0, 0});
  }
  std::vector<uint8_t> table;
  const size_t fill = 0xFFFF - wanted.size();
  while (table.size() + 6 <= fill) Append(table, {2, 4, 0, 0, 0, 0});
  // An OEM-irrelevant structure with a string takes up the remainder exactly.
  if (table.size() < fill) {
    table.resize(table.size() - 6);
    const size_t rest = fill - table.size();
    Append(table, {3, 4, 0, 0});
    table.insert(table.end(), rest - 6, 'x');
    Append(table, {0, 0});
  }
  table.insert(table.end(), wanted.begin(), wanted.end());
  Scene s{wantedLast ? "worst-last" : "worst-absent", sample.bios, kWorstTableAddress, table};
  const size_t at = ScanAnchor(s.bios);
  s.bios[at + 6] = 0xFF;
  s.bios[at + 7] = 0xFF;
  for (int i = 0; i < 4; ++i)
    s.bios[at + 8 + static_cast<size_t>(i)] = static_cast<uint8_t>(kWorstTableAddress >> (8 * i));
  uint8_t sum = 0;
  for (size_t i = 0; i < 15; ++i) sum = i == 5 ? sum : static_cast<uint8_t>(sum + s.bios[at + i]);
  s.bios[at + 5] = static_cast<uint8_t>(-sum);
  return s;
}

}  // namespace fwprobe::bench

#endif
