// A source of physical memory: "read these bytes at this address, or fail".
// One implementation per source, each in a file of its own.
#ifndef PMEMW_SOURCE_H
#define PMEMW_SOURCE_H

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace pmemw {

class Source {
 public:
  virtual ~Source() = default;
  // Fills out with the bytes at address; false when any of them cannot be read.
  virtual bool Read(uint64_t address, std::span<uint8_t> out) = 0;
  // The bytes at address in place, where the source holds them in memory;
  // empty where it does not (then Read is the way).
  virtual std::span<const uint8_t> View(uint64_t address, size_t length) {
    (void)address;
    (void)length;
    return {};
  }
  // What the tool tells the user answered, e.g. "memory image x.img".
  virtual std::string Name() const = 0;
};

// The outcome of opening a source: the source, or why there is none.
struct Opened {
  std::unique_ptr<Source> source;
  std::string error;
};

// Byte ranges laid over a base source (or over zero-filled memory when there
// is no base): reads inside a region give the region's bytes, the rest comes
// from the base.
class RegionSource : public Source {
 public:
  RegionSource(std::string name, std::unique_ptr<Source> base = nullptr)
      : name_(std::move(name)), base_(std::move(base)) {}
  void Place(uint64_t address, std::vector<uint8_t> bytes) { regions_[address] = std::move(bytes); }
  bool Read(uint64_t address, std::span<uint8_t> out) override;
  std::span<const uint8_t> View(uint64_t address, size_t length) override;
  std::string Name() const override { return name_; }
  // Whether any region covers a byte of [address, address + length).
  bool Overlaps(uint64_t address, uint64_t length) const;

 private:
  std::string name_;
  std::unique_ptr<Source> base_;
  std::map<uint64_t, std::vector<uint8_t>> regions_;
};

// Sources, a file each.
Opened OpenFile(const std::string &path, const std::string &name);      // image_source.cpp
Opened OpenImage(const std::string &path);                              // image_source.cpp
Opened OpenDevMem(const std::string &path = "/dev/mem");                // devmem_source.cpp
Opened OpenDump(const std::string &path);                               // dump_source.cpp
Opened OpenSysfs(const std::string &dir = "/sys/firmware/dmi/tables");  // sysfs_source.cpp
// The sysfs table of dir laid over memory, whose BIOS area holds biosArea.
Opened OpenSysfsOver(const std::string &dir, std::unique_ptr<Source> memory,
                     std::span<const uint8_t> biosArea);  // sysfs_source.cpp
Opened OpenDefault(const std::string &devMem = "/dev/mem",
                   const std::string &sysfsDir = "/sys/firmware/dmi/tables");  // default_source.cpp

// Reads a whole small file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string &path, std::vector<uint8_t> &out, std::string &error);

}  // namespace pmemw

#endif
