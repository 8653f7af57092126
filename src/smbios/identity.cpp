// System and BIOS identity strings, and the "ZAQ" manufacturer test.
#include "smbios/identity.h"

#include <cstdint>
#include <limits>

#include "fwprobe.h"
#include "smbios/navigation.h"
#include "smbios/table_access.h"
#include "smbios/text.h"

namespace fwprobe {

namespace {

constexpr uint8_t kBiosInformation = 0;  // with FindStructure: any first structure
constexpr uint8_t kSystemInformation = 1;

struct StringField {
  char *buffer;
  size_t offset;
};

// Resolves the string number at each field's offset and copies the string
// into its buffer; a string that resolves to none leaves the buffer empty.
void CopyFields(Table table, size_t pos, std::initializer_list<StringField> fields, size_t capacity) {
  for (const StringField &f : fields) {
    if (const auto s = SMBIOSGetString(table, pos, StructureByte(table, pos, f.offset)))
      CopyString(f.buffer, *s, capacity);
  }
}

// Reads three strings of the first structure that FindStructure gives for
// type: 0 success, 1 no entry point, 2 no such structure.
int QueryThreeStrings(uint8_t type, std::initializer_list<StringField> fields, size_t capacity) {
  for (const StringField &f : fields) ClearString(f.buffer);
  return RunQueryFrame(1, [&](Table table) {
    const Position pos = SMBIOSFindStructure(table, std::nullopt, type);
    if (!pos) return 2;
    CopyFields(table, *pos, fields, capacity);
    return 0;
  });
}

}  // namespace

int QuerySystem(char *manufacturer, char *productName, char *serialNumber, size_t capacity) {
  return QueryThreeStrings(kSystemInformation, {{manufacturer, 4}, {productName, 5}, {serialNumber, 7}},
                           capacity);
}

}  // namespace fwprobe

using namespace fwprobe;

extern "C" FWPROBE_API int FWPROBE_CALL SMBIOSGetSystem(char *manufacturer, char *productName,
                                                        char *serialNumber) {
  return QuerySystem(manufacturer, productName, serialNumber, std::numeric_limits<size_t>::max());
}

extern "C" FWPROBE_API int FWPROBE_CALL SMBIOSGetBiosInfo(char *vendor, char *version, char *releaseDate) {
  return QueryThreeStrings(kBiosInformation, {{vendor, 4}, {version, 5}, {releaseDate, 8}},
                           std::numeric_limits<size_t>::max());
}

extern "C" FWPROBE_API int FWPROBE_CALL isZaqSmbios(void) {
  return RunQueryFrame(0, [](Table table) {
    const Position pos = SMBIOSFindStructure(table, std::nullopt, kSystemInformation);
    if (!pos) return 0;
    const auto manufacturer = SMBIOSGetString(table, *pos, StructureByte(table, *pos, 4));
    return (manufacturer && AsciiStartsWithNoCase(*manufacturer, "ZAQ")) ? 1 : 0;
  });
}
