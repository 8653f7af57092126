// An in-memory stand-in for the physical-memory service: a sparse physical
// address space assembled from small fixtures, switches that make each
// operation fail, and counters that let a test check the service was used
// in the documented order and closed on every path.
#ifndef FWPROBE_TESTS_PMEM_DOUBLE_H
#define FWPROBE_TESTS_PMEM_DOUBLE_H

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace fwprobe::testing {

struct PMemDouble {
  // Memory: byte N of a region placed at A is at physical address A + N.
  // Regions do not overlap; addresses no region covers read as 0.
  std::map<uint32_t, std::vector<uint8_t>> regions;

  // Failure switches.
  bool initialized = true;
  bool openFails = false;
  int failReadNumber = 0;  // the Nth PMemRead (1-based) fails; 0: none
  bool failAllReads = false;
  std::optional<uint32_t> forcedSearch;  // every PMemSearch returns this

  // Counters.
  int initChecks = 0;
  int opens = 0;
  int closes = 0;
  int searches = 0;
  int reads = 0;
  uint64_t bytesRead = 0;
  int misuse = 0;  // calls out of order: search/read while closed, open unchecked, double open
  bool isOpen = false;
  bool checkedSinceOpen = false;

  void Place(uint32_t address, std::vector<uint8_t> bytes) { regions[address] = std::move(bytes); }
  uint8_t ByteAt(uint64_t address) const;
  void Reset() { *this = PMemDouble{}; }
};

// The one instance the five C operations work on.
PMemDouble &Service();

}  // namespace fwprobe::testing

#endif
