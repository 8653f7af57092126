// The structure walk and string lookup directly on a snapshot of exactly the
// input's length, so that any read past its end is caught.
#include <cstdlib>
#include <cstring>
#include <memory>

#include "smbios/navigation.h"

using namespace fwprobe;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  auto copy = std::make_unique<uint8_t[]>(size);
  if (size != 0) std::memcpy(copy.get(), data, size);
  const Table table{copy.get(), size};

  size_t walked = 0;
  for (Position pos = SMBIOSFindStructure(table, std::nullopt, 0); pos;
       pos = SMBIOSFindStructure(table, pos, 0)) {
    if (*pos >= size) std::abort();
    for (size_t offset = 4; offset <= 8; ++offset) {
      const uint8_t number = StructureByte(table, *pos, offset);
      const auto s = SMBIOSGetString(table, *pos, number);
      if (number == 0 && (!s || !s->empty())) std::abort();  // number 0 is the empty string
      if (s && number != 0 &&
          (s->data() < reinterpret_cast<const char *>(copy.get()) ||
           s->data() + s->size() >= reinterpret_cast<const char *>(copy.get()) + size))
        std::abort();  // a string and its NUL lie inside the snapshot
    }
    (void)SMBIOSGetString(table, *pos, 255);
    if (++walked > size) std::abort();  // every step advances
  }
  const uint8_t type = size != 0 ? data[0] : 0;
  const Position first = SMBIOSFindFirstStructure(table, type);
  if (first && table[*first] != type) std::abort();
  for (Position pos = SMBIOSFindStructure(table, std::nullopt, 11); pos;
       pos = SMBIOSFindStructure(table, pos, 11))
    if (table[*pos] != 11) std::abort();
  return 0;
}
