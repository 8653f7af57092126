// Every export through the in-memory service double, on the sample firmware
// and on the worst-case tables, beside the baselines.
#include <benchmark/benchmark.h>

#include "baseline.h"
#include "exports.h"
#include "support/pmem_double.h"

using namespace fwprobe::bench;

namespace {

void Install(const Scene &scene) {
  auto &s = fwprobe::testing::Service();
  s.Reset();
  s.Place(kBiosArea, scene.bios);
  s.Place(scene.tableAddress, scene.table);
}

void Export(benchmark::State &state, const Scene *scene, const ExportCall *e) {
  Install(*scene);
  int length = 256;  // the field exports read a loaded block
  VPDLoadData(Vpd(), &length);
  for (auto _ : state) benchmark::DoNotOptimize(e->call());
}

}  // namespace

int main(int argc, char **argv) {
  static const Scene sample = SampleScene(FWPROBE_SAMPLES_DIR "/zaq-server.img");
  static const Scene scenes[] = {sample, WorstScene(sample, true), WorstScene(sample, false)};
  for (const Scene &scene : scenes) {
    RegisterBaselines(&scene);
    for (const ExportCall &e : kExports)
      benchmark::RegisterBenchmark(("double/" + scene.name + "/" + e.name).c_str(), Export, &scene, &e);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
