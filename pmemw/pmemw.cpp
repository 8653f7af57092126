// The five service operations over whichever source is selected, and the
// selection itself.
#include "pmemw.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "physmem/physmem.h"
#include "source.h"
#include "windows_source.h"

namespace pmemw {

constexpr size_t kSearchWindow = 4096;  // bytes read at a time by the search

namespace {

struct State {
  bool selected = false;  // PMemSelectSource named a source
  std::string selectedSpec;
  bool resolved = false;  // source/error reflect resolvedSpec
  std::string resolvedSpec;
  std::unique_ptr<Source> source;
  std::string error;
  std::string name;
  bool open = false;
};

State &state() {
  static State s;
  return s;
}

bool Prefixed(const std::string &spec, const char *prefix, std::string &rest) {
  const size_t n = std::strlen(prefix);
  if (spec.compare(0, n, prefix) != 0) return false;
  rest = spec.substr(n);
  return true;
}

// Opens the source a spec names.
Opened OpenSpec(const std::string &spec) {
  std::string rest;
#if defined(_WIN32)
  if (spec.empty() || spec == "default" || spec == "firmware") return OpenWindowsFirmware();
#else
  if (spec.empty() || spec == "default") return OpenDefault();
  if (spec == "firmware") return OpenWindowsFirmware();
#endif
  if (Prefixed(spec, "image:", rest)) return OpenImage(rest);
  if (Prefixed(spec, "dump:", rest)) return OpenDump(rest);
  if (spec == "devmem") return OpenDevMem();
  if (Prefixed(spec, "devmem:", rest)) return OpenDevMem(rest);
  if (spec == "sysfs") return OpenSysfs();
  if (Prefixed(spec, "sysfs:", rest)) return OpenSysfs(rest);
  return {nullptr,
          "unknown source '" + spec + "' (expected image:PATH, dump:PATH, devmem, sysfs or default)"};
}

// Brings the source in line with the selection or, without one, with
// PMEMW_SOURCE; a source already open for the same spec is kept, so a call
// costs no reopening.
void Resolve() {
  State &s = state();
  const char *env = s.selected ? nullptr : std::getenv("PMEMW_SOURCE");
  const std::string_view wanted =
      s.selected ? std::string_view(s.selectedSpec) : std::string_view(env ? env : "");
  if (s.resolved && wanted == s.resolvedSpec) return;
  const std::string spec(wanted);
  Opened opened = OpenSpec(spec);
  s.source = std::move(opened.source);
  s.error = std::move(opened.error);
  s.name = s.source ? s.source->Name() : "";
  s.resolvedSpec = spec;
  s.resolved = true;
  s.open = false;
}

}  // namespace

}  // namespace pmemw

using pmemw::state;

extern "C" {

PMEMW_API int PMEMW_CALL PMemSelectSource(const char *spec) {
  auto &s = state();
  s.selected = spec != nullptr && spec[0] != '\0';
  s.selectedSpec = s.selected ? spec : "";
  s.resolved = false;
  pmemw::Resolve();
  return s.source ? 1 : 0;
}

PMEMW_API const char *PMEMW_CALL PMemSourceError(void) {
  pmemw::Resolve();
  return state().error.c_str();
}

PMEMW_API const char *PMEMW_CALL PMemSourceName(void) {
  pmemw::Resolve();
  return state().name.c_str();
}

int PMEM_CALL PMemIsInitialized(void) {
  pmemw::Resolve();
  return state().source ? 1 : 0;
}

int PMEM_CALL PMemOpen(void) {
  pmemw::Resolve();
  auto &s = state();
  if (!s.source) return 0;
  s.open = true;
  return 1;
}

// Tries start, start + step, ... up to end. Memory the source holds in place
// is compared where it lies; otherwise it is read a window at a time, and
// where a window cannot be read (past the end of an image, say) each
// candidate is read on its own: one that cannot be read holds no match.
uint32_t PMEM_CALL PMemSearch(const char *pattern, uint32_t start, uint32_t end, uint32_t step) {
  auto &s = state();
  if (!s.open || !s.source || pattern == nullptr || step == 0 || start > end) return 0;
  const size_t n = std::strlen(pattern);
  if (n == 0) return 0;
  const auto first = static_cast<uint8_t>(pattern[0]);
  std::vector<uint8_t> single(n);
  // A candidate whose pattern would run past the held bytes is read instead.
  const std::span<const uint8_t> held = s.source->View(start, static_cast<size_t>(end - start) + 1);
  if (!held.empty()) {
    for (uint64_t at = start; at <= end; at += step) {
      const size_t offset = static_cast<size_t>(at - start);
      if (held[offset] != first) continue;
      const uint8_t *bytes = offset + n <= held.size()    ? held.data() + offset
                             : s.source->Read(at, single) ? single.data()
                                                          : nullptr;
      if (bytes != nullptr && std::memcmp(bytes, pattern, n) == 0) return static_cast<uint32_t>(at);
    }
    return 0;
  }
  std::vector<uint8_t> window;
  uint64_t windowStart = 0;
  for (uint64_t at = start; at <= end; at += step) {
    if (at < windowStart || at + n > windowStart + window.size()) {
      windowStart = at;
      window.resize(std::max(n, std::min<size_t>(pmemw::kSearchWindow, static_cast<size_t>(end - at) + n)));
      if (!s.source->Read(windowStart, window)) window.clear();
    }
    const uint8_t *bytes = nullptr;
    if (!window.empty()) {
      bytes = window.data() + (at - windowStart);
    } else if (s.source->Read(at, single)) {
      bytes = single.data();
    }
    if (bytes != nullptr && bytes[0] == first && std::memcmp(bytes, pattern, n) == 0)
      return static_cast<uint32_t>(at);
  }
  return 0;
}

int PMEM_CALL PMemRead(void *destination, uint32_t address, uint32_t length) {
  auto &s = state();
  if (!s.open || !s.source || (destination == nullptr && length != 0)) return 1;
  return s.source->Read(address, {static_cast<uint8_t *>(destination), length}) ? 0 : 1;
}

int PMEM_CALL PMemClose(void) {
  state().open = false;
  return 1;
}

}  // extern "C"
