// The baseline rows: the least work any table query (or the VPD loader) must
// do on a scene, registered in each benchmark binary.
#ifndef FWPROBE_BENCH_BASELINE_H
#define FWPROBE_BENCH_BASELINE_H

#include <benchmark/benchmark.h>

#include <memory>

#include "scenes.h"

namespace fwprobe::bench {

// Scan the BIOS area for the anchor, copy the table, walk it once.
inline void BaselineTable(benchmark::State &state, const Scene *scene) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(ScanAnchor(scene->bios));
    auto copy = std::make_unique<uint8_t[]>(scene->table.size());
    std::memcpy(copy.get(), scene->table.data(), scene->table.size());
    benchmark::DoNotOptimize(Walk(copy.get(), scene->table.size()));
  }
}

// Scan for the VPD signature and read the block once.
inline void BaselineVpd(benchmark::State &state, const Scene *scene) {
  uint8_t block[256];
  for (auto _ : state) {
    const size_t at = ScanVpd(scene->bios);
    if (at != SIZE_MAX) std::memcpy(block, scene->bios.data() + at, scene->bios[at + 5]);
    benchmark::DoNotOptimize(block);
  }
}

inline void RegisterBaselines(const Scene *scene) {
  benchmark::RegisterBenchmark(("baseline/" + scene->name + "/table").c_str(), BaselineTable, scene);
  benchmark::RegisterBenchmark(("baseline/" + scene->name + "/vpd").c_str(), BaselineVpd, scene);
}

}  // namespace fwprobe::bench

#endif
