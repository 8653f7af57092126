// The system and motherboard identities formatted from a loaded VPD block.
#include <array>
#include <cstddef>
#include <cstring>

#include "fwprobe.h"
#include "vpd/vpd_state.h"

namespace {

// Only ASCII letters and digits are printable here; every other byte,
// NUL and bytes from 0x80 up included, becomes a space.
char Printable(unsigned char c) {
  const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  const bool digit = c >= '0' && c <= '9';
  return (letter || digit) ? static_cast<char>(c) : ' ';
}

// Whether an identity can be produced: a block has been loaded and the
// arguments can take a result (no null pointer, a size of 1 or more).
bool CanAnswer(const char *identity, int size, const unsigned char *vpd) {
  return fwprobe::VPDLoaded && identity != nullptr && vpd != nullptr && size > 0;
}

// Writes the first min(N, size - 1) bytes of the identity, filtered, and a
// NUL at position n.
template <size_t N>
int WriteIdentity(char *identity, int size, const std::array<unsigned char, N> &source) {
  const size_t n = static_cast<size_t>(size) > N ? N : static_cast<size_t>(size) - 1;
  for (size_t i = 0; i < n; ++i) identity[i] = Printable(source[i]);
  identity[n] = '\0';
  return FWPROBE_VPD_OK;
}

}  // namespace

// "1S", then VPD bytes 40 to 46, then VPD bytes 22 to 28.
extern "C" FWPROBE_API int FWPROBE_CALL VPDGetSystem(char *identity, int size, const unsigned char *vpd) {
  if (!CanAnswer(identity, size, vpd)) return FWPROBE_VPD_NOT_LOADED;
  std::array<unsigned char, 16> system{'1', 'S'};
  std::memcpy(system.data() + 2, vpd + 40, 7);
  std::memcpy(system.data() + 9, vpd + 22, 7);
  return WriteIdentity(identity, size, system);
}

// VPD bytes 29 to 39.
extern "C" FWPROBE_API int FWPROBE_CALL VPDGetMotherboard(char *identity, int size,
                                                          const unsigned char *vpd) {
  if (!CanAnswer(identity, size, vpd)) return FWPROBE_VPD_NOT_LOADED;
  std::array<unsigned char, 11> board{};
  std::memcpy(board.data(), vpd + 29, 11);
  return WriteIdentity(identity, size, board);
}
