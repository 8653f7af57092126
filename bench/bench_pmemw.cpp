// Every export end to end, through the shared library and pmemw on the
// sample memory image, beside the baselines on the same firmware.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "baseline.h"
#include "exports.h"
#include "pmemw.h"

using namespace fwprobe::bench;

namespace {

void Export(benchmark::State &state, const ExportCall *e) {
  int length = 256;
  VPDLoadData(Vpd(), &length);
  for (auto _ : state) benchmark::DoNotOptimize(e->call());
}

}  // namespace

int main(int argc, char **argv) {
  const char *image = FWPROBE_SAMPLES_DIR "/zaq-server.img";
  if (PMemSelectSource((std::string("image:") + image).c_str()) == 0) {
    std::fprintf(stderr, "bench_pmemw: %s\n", PMemSourceError());
    return 1;
  }
  static const Scene sample = SampleScene(image);
  RegisterBaselines(&sample);
  for (const ExportCall &e : kExports)
    benchmark::RegisterBenchmark((std::string("pmemw/sample/") + e.name).c_str(), Export, &e);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
