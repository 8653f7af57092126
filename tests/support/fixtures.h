// A small builder for firmware fixtures: SMBIOS structures, tables, entry
// points and VPD blocks, so a test states its firmware in a line or two.
#ifndef FWPROBE_TESTS_FIXTURES_H
#define FWPROBE_TESTS_FIXTURES_H

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/pmem_double.h"

namespace fwprobe::testing {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kEntryPointAddress = 0xF0010;
constexpr uint32_t kTableAddress = 0x00100000;
constexpr uint32_t kVpdAddress = 0xF8000;

// One structure: type, formatted length 4 + formatted.size(), handle, the
// formatted bytes after the header, then the string-set (two NULs when there
// are no strings).
Bytes Structure(uint8_t type, Bytes formatted, std::vector<std::string> strings = {});

// Structures back to back.
Bytes Concat(std::initializer_list<Bytes> parts);

// A System Information structure naming manufacturer, product and serial as
// strings 1, 2 and 3 (a field given as empty is stored as number 0).
Bytes SystemInfo(const std::string &manufacturer, const std::string &product, const std::string &serial);

// A BIOS Information structure naming vendor, version and date.
Bytes BiosInfo(const std::string &vendor, const std::string &version, const std::string &date);

// An OEM Strings structure with Count = strings.size() unless count is given.
Bytes OemStrings(std::vector<std::string> strings, int count = -1);

// Sets bytes[at] so that all of bytes sum to zero modulo 256: the checksum
// rule of every entry point.
void SetChecksum(Bytes &bytes, size_t at);

// The 15-byte "_DMI_" entry point; a bad checksum when goodChecksum is false.
Bytes EntryPoint(uint32_t tableAddress, uint16_t tableLength, bool goodChecksum = true);

// Places an entry point at kEntryPointAddress naming table, and the table at
// kTableAddress; the table length is table.size() unless given.
void InstallSmbios(PMemDouble &service, const Bytes &table, int declaredLength = -1);

// A VPD block of blockLength bytes (at least 6 are built): the header, then
// zeros; set fields with Put.
Bytes VpdBlock(uint8_t blockLength, size_t size = 0);
void Put(Bytes &bytes, size_t offset, const std::string &text);

}  // namespace fwprobe::testing

#endif
