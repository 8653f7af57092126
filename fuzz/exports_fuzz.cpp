// Every one of the twelve exports over an address space made from the input,
// through the service double. Besides the sanitizers' checks, each call must
// leave the service closed, with opens and closes in balance, and must not
// report success where there is nothing to answer from.
#include <cstdlib>
#include <cstring>
#include <memory>

#include "address_space.h"
#include "fwprobe.h"
#include "smbios/table_access.h"
#include "support/pmem_double.h"
#include "vpd/vpd_state.h"

using fwprobe::testing::Service;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckServiceBalanced() {
  const auto &s = Service();
  Check(!s.isOpen);
  Check(s.opens == s.closes);
  Check(s.misuse == 0);
}

// A heap block of exactly n bytes, so that any write past it is caught.
std::unique_ptr<char[]> Exact(size_t n) {
  auto p = std::make_unique<char[]>(n);
  std::memset(p.get(), 'x', n);
  return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const auto space = fwprobe::fuzz::Decode({data, size});
  auto &s = Service();
  s.Reset();
  if (!space.biosArea.empty()) s.Place(fwprobe::fuzz::kBiosArea, space.biosArea);
  if (!space.high.empty()) s.Place(fwprobe::fuzz::kTableArea, space.high);
  s.failReadNumber = space.failReadNumber;
  fwprobe::SetSnapshotAllocationFailsForTesting(space.allocationFails);
  fwprobe::ResetVpdLoadedForTesting();

  const int present = isSmbios();
  CheckServiceBalanced();

  const size_t big = FWPROBE_SMBIOS_STRING_MAX;
  auto a = Exact(big), b = Exact(big), c = Exact(big);
  const int system = SMBIOSGetSystem(a.get(), b.get(), c.get());
  CheckServiceBalanced();
  Check(system >= 0 && system <= 2);
  if (system != 0) Check(a[0] == 0 && b[0] == 0 && c[0] == 0);
  Check(std::memchr(a.get(), 0, big) && std::memchr(b.get(), 0, big) && std::memchr(c.get(), 0, big));

  const int bios = SMBIOSGetBiosInfo(a.get(), b.get(), c.get());
  CheckServiceBalanced();
  Check(bios >= 0 && bios <= 2);

  Check(isZaqSmbios() <= 1);
  CheckServiceBalanced();

  auto type = Exact(5);
  const int machine = SMBIOSGetMachineType(type.get());
  CheckServiceBalanced();
  Check(machine >= 1 && machine <= 3);
  if (machine == 1) {
    for (size_t i = 0; i < 4; ++i) Check(type[i] >= '0' && type[i] <= '9');
    Check(type[4] == 0);
  } else {
    Check(type[0] == 0);
  }

  const int probes[] = {isPelorinSmbios(), SMBIOSIsH8Enabled(), SMBIOSIsMarlixEnabled(), SMBIOSQueryIpmi()};
  CheckServiceBalanced();
  for (int p : probes) Check(p == 0 || p == 1);

  // Success needs a table, and a table needs an entry point (unless a read
  // failure switched in after the first call).
  if (space.failReadNumber == 0 && !space.allocationFails && present == 0) {
    Check(system == 1 && bios == 1 && machine == 3);
    for (int p : probes) Check(p == 0);
  }

  const int capacity = space.vpdCapacity;
  auto vpd = std::make_unique<unsigned char[]>(static_cast<size_t>(capacity) + 47);
  int length = capacity;
  const int loaded = VPDLoadData(vpd.get(), &length);
  CheckServiceBalanced();
  Check(loaded == 0 || loaded == 64);
  Check(length <= capacity && length >= 0);
  if (loaded == 0) Check(vpd[0] == 0xAA || length == 0);

  for (int outSize : {0, 1, 5, 12, 17}) {
    auto out = Exact(static_cast<size_t>(outSize == 0 ? 1 : outSize));
    const int sys = VPDGetSystem(out.get(), outSize, vpd.get());
    const int board = VPDGetMotherboard(out.get(), outSize, vpd.get());
    Check(sys == board);
    Check(sys == (loaded == 0 && outSize > 0 ? 0 : 61));
  }
  fwprobe::SetSnapshotAllocationFailsForTesting(false);
  return 0;
}
