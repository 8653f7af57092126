// fwprobe: asks the library every question it answers, about this machine,
// a memory image or an SMBIOS dump, and prints the answers for people or as
// JSON for scripts.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <string>

#include "answers.h"
#include "pmemw.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#ifndef FWPROBE_VERSION
#define FWPROBE_VERSION "unknown"
#endif

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitSource = 1;

}  // namespace

int main(int argc, char **argv) {
  CLI::App app{
      "Reads the SMBIOS table and the VPD block through the fwprobe library and prints every answer."};
  app.set_version_flag("--version", std::string("fwprobe ") + FWPROBE_VERSION);
  std::string devMem, fromDump;
  bool json = false;
  auto *devMemOpt =
      app.add_option("--dev-mem", devMem, "Read physical memory from FILE, laid out like /dev/mem")
          ->type_name("FILE");
  auto *dumpOpt =
      app.add_option("--from-dump", fromDump, "Read an SMBIOS dump written by dmidecode --dump-bin")
          ->type_name("FILE");
  devMemOpt->excludes(dumpOpt);
  app.add_flag("--json", json, "Print one JSON object instead of text");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError &e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : kExitUsage;
  }

  std::string spec;
#if defined(_WIN32)
  std::string what = "this machine's firmware tables (GetSystemFirmwareTable)";
#else
  std::string what = "this machine's firmware (/dev/mem, then /sys/firmware/dmi/tables)";
#endif
  if (!devMem.empty()) {
    spec = "image:" + devMem;
    what = "memory image " + devMem;
  } else if (!fromDump.empty()) {
    spec = "dump:" + fromDump;
    what = "dump file " + fromDump;
  }
  // With no option the service follows PMEMW_SOURCE, or reads this machine.
  if (PMemSelectSource(spec.empty() ? nullptr : spec.c_str()) == 0) {
    std::cerr << "fwprobe: cannot read " << what << ": " << PMemSourceError()
              << "; run as root, or pass --dev-mem FILE or --from-dump FILE\n";
    return kExitSource;
  }

#if defined(_WIN32)
  // The same bytes as everywhere else: no CR added before each LF.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  const fwprobe::cli::Answers answers = fwprobe::cli::Collect();
  std::cout << (json ? fwprobe::cli::RenderJson(answers) : fwprobe::cli::RenderText(answers));
  return 0;
}
