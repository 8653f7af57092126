// A binary SMBIOS dump: the entry point at offset 0, the table at offset 32
// (the entry point's table address rewritten to 32). Shown as physical memory
// through the legacy view.
#include <cstdio>
#include <cstring>

#include "legacy_view.h"
#include "source.h"

namespace pmemw {

namespace {

constexpr size_t kDumpTableOffset = 32;

}  // namespace

bool ReadWholeFile(const std::string &path, std::vector<uint8_t> &out, std::string &error) {
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  out.clear();
  uint8_t chunk[4096];
  size_t n;
  while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) out.insert(out.end(), chunk, chunk + n);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) error = "cannot read " + path;
  return !failed;
}

Opened OpenDump(const std::string &path) {
  std::vector<uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(path, bytes, error)) return {nullptr, error};
  const auto info = ParseEntryPoint(bytes);
  if (!info || bytes.size() < kDumpTableOffset)
    return {nullptr, path + " is not an SMBIOS dump (no valid entry point at offset 0)"};

  // A 2.x table has an exact length and must be whole; an SMBIOS 3 length is
  // a maximum, so the dump holds as much as the table really uses.
  const size_t present = bytes.size() - kDumpTableOffset;
  if (!info->smbios3 && present < info->length)
    return {nullptr, path + " is cut short: the table is incomplete"};
  const size_t length = info->length < present ? info->length : present;
  std::vector<uint8_t> table(bytes.begin() + kDumpTableOffset,
                             bytes.begin() + static_cast<std::ptrdiff_t>(kDumpTableOffset + length));

  auto view = std::make_unique<RegionSource>("dump file " + path);
  if (!PlaceLegacyView(*view, *info, std::move(table), [](uint32_t) { return true; }))
    return {nullptr, path +
                         " holds a table that cannot be shown through a legacy entry point (64 KiB or more, "
                         "or above 4 GiB)"};
  return {std::move(view), ""};
}

}  // namespace pmemw
