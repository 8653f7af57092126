#include "support/fixtures.h"

#include <algorithm>

namespace fwprobe::testing {

Bytes Structure(uint8_t type, Bytes formatted, std::vector<std::string> strings) {
  Bytes out{type, static_cast<uint8_t>(4 + formatted.size()), 0x34, 0x12};
  for (uint8_t b : formatted) out.push_back(b);
  for (const auto &s : strings) {
    for (char c : s) out.push_back(static_cast<uint8_t>(c));
    out.push_back(0);
  }
  if (strings.empty()) out.push_back(0);
  out.push_back(0);
  return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto &p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

namespace {

// Lists the non-empty strings and gives each field its number (0 if empty).
std::vector<std::string> Numbered(std::initializer_list<std::string> fields, Bytes &numbers) {
  std::vector<std::string> strings;
  for (const auto &f : fields) {
    if (f.empty()) {
      numbers.push_back(0);
    } else {
      strings.push_back(f);
      numbers.push_back(static_cast<uint8_t>(strings.size()));
    }
  }
  return strings;
}

}  // namespace

Bytes SystemInfo(const std::string &manufacturer, const std::string &product, const std::string &serial) {
  Bytes numbers;
  auto strings = Numbered({manufacturer, product, serial}, numbers);
  // offset 4 manufacturer, 5 product, 6 version (none), 7 serial
  return Structure(1, {numbers[0], numbers[1], 0, numbers[2]}, strings);
}

Bytes BiosInfo(const std::string &vendor, const std::string &version, const std::string &date) {
  Bytes numbers;
  auto strings = Numbered({vendor, version, date}, numbers);
  // offset 4 vendor, 5 version, 6-7 segment, 8 release date
  return Structure(0, {numbers[0], numbers[1], 0x00, 0xE8, numbers[2]}, strings);
}

Bytes OemStrings(std::vector<std::string> strings, int count) {
  const auto n = static_cast<uint8_t>(count < 0 ? strings.size() : static_cast<size_t>(count));
  return Structure(11, {n}, std::move(strings));
}

Bytes EntryPoint(uint32_t tableAddress, uint16_t tableLength, bool goodChecksum) {
  Bytes ep{'_',
           'D',
           'M',
           'I',
           '_',
           0,
           static_cast<uint8_t>(tableLength),
           static_cast<uint8_t>(tableLength >> 8),
           static_cast<uint8_t>(tableAddress),
           static_cast<uint8_t>(tableAddress >> 8),
           static_cast<uint8_t>(tableAddress >> 16),
           static_cast<uint8_t>(tableAddress >> 24),
           1,
           0,
           0x28};
  SetChecksum(ep, 5);
  if (!goodChecksum) ++ep[5];
  return ep;
}

void SetChecksum(Bytes &bytes, size_t at) {
  bytes[at] = 0;
  uint8_t sum = 0;
  for (uint8_t b : bytes) sum = static_cast<uint8_t>(sum + b);
  bytes[at] = static_cast<uint8_t>(-sum);
}

void InstallSmbios(PMemDouble &service, const Bytes &table, int declaredLength) {
  const auto length =
      static_cast<uint16_t>(declaredLength < 0 ? table.size() : static_cast<size_t>(declaredLength));
  service.Place(kEntryPointAddress, EntryPoint(kTableAddress, length));
  service.Place(kTableAddress, table);
}

Bytes VpdBlock(uint8_t blockLength, size_t size) {
  Bytes out(std::max<size_t>({size, blockLength, 6}), 0);
  out[0] = 0xAA;
  out[1] = 0x55;
  out[2] = 'V';
  out[3] = 'P';
  out[4] = 'D';
  out[5] = blockLength;
  return out;
}

void Put(Bytes &bytes, size_t offset, const std::string &text) {
  if (bytes.size() < offset + text.size()) bytes.resize(offset + text.size());
  std::copy(text.begin(), text.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace fwprobe::testing
