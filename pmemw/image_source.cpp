// A memory image: a file laid out like /dev/mem, byte N at physical address N.
// Reads past its end fail.
#include <cerrno>
#include <cstdio>
#include <cstring>

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

Opened OpenImage(const std::string &path) {
  Opened opened = OpenFile(path, "memory image " + path);
  uint8_t probe = 0;
  if (opened.source && !opened.source->Read(0, {&probe, 1}))
    return {nullptr, "cannot read memory image " + path + ": the file is empty or unreadable"};
  return opened;
}

}  // namespace pmemw
