// A memory image: a file laid out like /dev/mem, byte N at physical address N.
// Reads past its end fail. The file reader here also serves /dev/mem.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "source.h"

namespace pmemw {

namespace {

class FileSource : public Source {
 public:
  FileSource(std::FILE *file, std::string name) : file_(file), name_(std::move(name)) {}
  ~FileSource() override { std::fclose(file_); }
  FileSource(const FileSource &) = delete;
  FileSource &operator=(const FileSource &) = delete;

  bool Read(uint64_t address, std::span<uint8_t> out) override {
    if (out.empty()) return true;
#if defined(_WIN32)
    if (_fseeki64(file_, static_cast<__int64>(address), SEEK_SET) != 0) return false;
#else
    if (fseeko(file_, static_cast<off_t>(address), SEEK_SET) != 0) return false;
#endif
    return std::fread(out.data(), 1, out.size(), file_) == out.size();
  }
  std::string Name() const override { return name_; }

 private:
  std::FILE *file_;
  std::string name_;
};

}  // namespace

// Opens path for reading physical memory from; unbuffered, so that a read
// touches exactly the bytes asked for (which matters for /dev/mem).
Opened OpenFile(const std::string &path, const std::string &name) {
  std::FILE *file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return {nullptr, "cannot open " + path + ": " + std::strerror(errno)};
  std::setvbuf(file, nullptr, _IONBF, 0);
  return {std::make_unique<FileSource>(file, name), ""};
}

namespace {

// An image small enough to hold is read once, when the source is selected,
// so that a call costs no file access; reads past its end fail.
class MemoryImage : public Source {
 public:
  MemoryImage(std::vector<uint8_t> bytes, std::string name)
      : bytes_(std::move(bytes)), name_(std::move(name)) {}
  bool Read(uint64_t address, std::span<uint8_t> out) override {
    if (address > bytes_.size() || out.size() > bytes_.size() - address) return false;
    if (!out.empty()) std::memcpy(out.data(), bytes_.data() + address, out.size());
    return true;
  }
  std::span<const uint8_t> View(uint64_t address, size_t length) override {
    if (address > bytes_.size() || length > bytes_.size() - address) return {};
    return std::span<const uint8_t>(bytes_).subspan(static_cast<size_t>(address), length);
  }
  std::string Name() const override { return name_; }

 private:
  std::vector<uint8_t> bytes_;
  std::string name_;
};

constexpr uint64_t kHeldImageLimit = 256ULL << 20;

}  // namespace

Opened OpenImage(const std::string &path) {
  const std::string name = "memory image " + path;
  Opened opened = OpenFile(path, name);
  uint8_t probe = 0;
  if (opened.source && !opened.source->Read(0, {&probe, 1}))
    return {nullptr, "cannot read memory image " + path + ": the file is empty or unreadable"};
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!opened.source || ec || size > kHeldImageLimit) return opened;  // large images are read as needed
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (!opened.source->Read(0, bytes)) return {nullptr, "cannot read memory image " + path};
  return {std::make_unique<MemoryImage>(std::move(bytes), name), ""};
}

}  // namespace pmemw
