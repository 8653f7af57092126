// The fwprobe tool end to end, on the real-firmware samples: the answers it
// prints, its exit status and messages, and agreement with dmidecode.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

const fs::path kSamples = FWPROBE_SAMPLES_DIR;
const std::string kTool = FWPROBE_TOOL;

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs a shell command line; stdout and stderr are captured apart.
Result Shell(const std::string &command) {
  const fs::path errFile = fs::temp_directory_path() / ("fwprobe_cli_err_" + std::to_string(::getpid()));
  Result r;
  FILE *pipe = ::popen((command + " 2>" + errFile.string()).c_str(), "r");
  if (pipe == nullptr) return r;
  std::array<char, 4096> chunk;
  size_t n;
  while ((n = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) r.out.append(chunk.data(), n);
  const int raw = ::pclose(pipe);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::ifstream e(errFile);
  r.err.assign(std::istreambuf_iterator<char>(e), {});
  fs::remove(errFile);
  return r;
}

Result Tool(const std::string &args) { return Shell("env -u PMEMW_SOURCE '" + kTool + "' " + args); }

json Expected(const std::string &name) {
  std::ifstream f(kSamples / name);
  return json::parse(f);
}

// What a dump must answer: the image's answers without a BIOS area.
json DumpExpected(const std::string &sample) {
  if (fs::exists(kSamples / (sample + ".dump.expected.json")))
    return Expected(sample + ".dump.expected.json");
  json j = Expected(sample + ".expected.json");
  j["VPDLoadData"] = {{"result", 64}, {"length", 256}};
  j["VPDGetSystem"] = {{"result", 61}, {"identity", ""}};
  j["VPDGetMotherboard"] = {{"result", 61}, {"identity", ""}};
  return j;
}

class Samples : public ::testing::TestWithParam<std::string> {};

TEST_P(Samples, JsonOnImageGivesTheExpectedAnswers) {
  const Result r = Tool("--dev-mem '" + (kSamples / (GetParam() + ".img")).string() + "' --json");
  ASSERT_EQ(r.status, 0) << r.err;
  const json got = json::parse(r.out);
  EXPECT_EQ(got, Expected(GetParam() + ".expected.json")) << got.dump(1);
  // Exactly these keys, in the order of the calls.
  const auto ordered = nlohmann::ordered_json::parse(r.out);
  std::vector<std::string> keys;
  for (auto it = ordered.begin(); it != ordered.end(); ++it) keys.push_back(it.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"isSmbios", "SMBIOSGetSystem", "SMBIOSGetBiosInfo", "isZaqSmbios",
                                            "SMBIOSGetMachineType", "isPelorinSmbios", "SMBIOSIsH8Enabled",
                                            "SMBIOSIsMarlixEnabled", "SMBIOSQueryIpmi", "VPDLoadData",
                                            "VPDGetSystem", "VPDGetMotherboard"}));
}

TEST_P(Samples, JsonOnDumpOfTheSameFirmware) {
  const Result r = Tool("--from-dump '" + (kSamples / (GetParam() + ".dump")).string() + "' --json");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(json::parse(r.out), DumpExpected(GetParam())) << r.out;
}

TEST_P(Samples, EnvironmentPointsTheLibraryAtAFile) {
  const std::string image = (kSamples / (GetParam() + ".img")).string();
  const Result r = Shell("PMEMW_SOURCE='image:" + image + "' '" + kTool + "' --json");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(json::parse(r.out), Expected(GetParam() + ".expected.json"));
}

TEST_P(Samples, TextHasOneAlignedLinePerAnswer) {
  const Result r = Tool("--dev-mem '" + (kSamples / (GetParam() + ".img")).string() + "'");
  ASSERT_EQ(r.status, 0) << r.err;
  std::istringstream lines(r.out);
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    ++count;
    ASSERT_GT(line.size(), 24u) << line;
    EXPECT_NE(line[24], ' ') << "values start in one column: " << line;
    EXPECT_EQ(line[23], ' ') << line;
  }
  EXPECT_EQ(count, 17);
}

// Where dmidecode is installed it must read the same strings from the image.
TEST_P(Samples, DmidecodeReadsTheSameStrings) {
  if (Shell("command -v dmidecode").status != 0) GTEST_SKIP() << "dmidecode is not installed";
  const std::string image = (kSamples / (GetParam() + ".img")).string();
  json got = json::parse(Tool("--dev-mem '" + image + "' --json").out);
  // dmidecode also reads an SMBIOS 3 entry point; the library sees that
  // table only through the dump's legacy view.
  if (got["isSmbios"] != 1)
    got = json::parse(Tool("--from-dump '" + (kSamples / (GetParam() + ".dump")).string() + "' --json").out);
  auto dmi = [&](const char *keyword) {
    std::string s = Shell("dmidecode --dev-mem '" + image + "' -s " + keyword).out;
    while (!s.empty() && s.back() == '\n') s.pop_back();
    return s;
  };
  // dmidecode prints what it cannot show as it is; compare the ASCII strings.
  const auto &sys = got["SMBIOSGetSystem"];
  EXPECT_EQ(dmi("system-manufacturer"), sys["manufacturer"]);
  EXPECT_EQ(dmi("system-product-name"), sys["productName"]);
  const std::string serial = sys["serialNumber"];
  if (serial.find('\xC3') == std::string::npos && !serial.empty()) {
    EXPECT_EQ(dmi("system-serial-number"), serial);
  }
  const auto &bios = got["SMBIOSGetBiosInfo"];
  EXPECT_EQ(dmi("bios-vendor"), bios["vendor"]);
  EXPECT_EQ(dmi("bios-version"), bios["version"]);
  EXPECT_EQ(dmi("bios-release-date"), bios["releaseDate"]);
}

INSTANTIATE_TEST_SUITE_P(Firmware, Samples,
                         ::testing::Values("zaq-server", "pelorin-oem", "plain", "smbios3"));

TEST(Tool, BytesAboveAsciiSurviveInJson) {
  const Result r = Tool("--dev-mem '" + (kSamples / "pelorin-oem.img").string() + "' --json");
  EXPECT_NE(r.out.find("N\xC3\xA9 0815"), std::string::npos) << "0xE9 must become U+00E9";
}

TEST(Tool, UnusableSourceExitsOneWithOneLine) {
  const std::vector<std::string> cases{"--dev-mem /nonexistent/fwprobe.img",
                                       "--from-dump /nonexistent/fwprobe.dump",
                                       "--from-dump '" + (kSamples / "plain.img").string() + "'"};
  for (const std::string &args : cases) {
    const Result r = Tool(args);
    EXPECT_EQ(r.status, 1) << args;
    EXPECT_EQ(r.out, "") << "nothing is printed as an answer";
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find("--dev-mem"), std::string::npos) << r.err;
  }
}

TEST(Tool, NoSourceOnThisMachineExitsOne) {
  if (fs::exists("/dev/mem") || fs::exists("/sys/firmware/dmi/tables/DMI"))
    GTEST_SKIP() << "this machine has firmware tables to read";
  const Result r = Tool("");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("run as root"), std::string::npos) << r.err;
}

TEST(Tool, UsageErrorsExitTwo) {
  EXPECT_EQ(Tool("--bogus").status, 2);
  EXPECT_EQ(Tool("--dev-mem a --from-dump b").status, 2);
  EXPECT_EQ(Tool("--dev-mem").status, 2);
}

TEST(Tool, HelpAndVersion) {
  const Result help = Tool("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--from-dump"), std::string::npos);
  const Result version = Tool("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_NE(version.out.find("fwprobe "), std::string::npos);
}

}  // namespace
