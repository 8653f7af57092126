// This machine's physical memory through /dev/mem (root on real hardware).
#include "source.h"

namespace pmemw {

Opened OpenDevMem(const std::string &path) {
  Opened opened = OpenFile(path, path);
  // Usable only when the BIOS area can be read: that is all the library asks.
  uint8_t probe[16];
  if (opened.source && !opened.source->Read(0xF0000, probe))
    return {nullptr, "cannot read the BIOS area from " + path};
  return opened;
}

}  // namespace pmemw
