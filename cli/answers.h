// One record of everything the library answered, gathered by calling the
// twelve exports in the order of the public header, as a management
// application would. Rendering as text or as JSON reads only this record.
#ifndef FWPROBE_CLI_ANSWERS_H
#define FWPROBE_CLI_ANSWERS_H

#include <string>

namespace fwprobe::cli {

struct Answers {
  std::string source;  // which source answered

  int isSmbios = 0;
  int systemResult = 0;
  std::string manufacturer, productName, serialNumber;
  int biosResult = 0;
  std::string vendor, version, releaseDate;
  int isZaq = 0;
  int machineTypeResult = 0;
  std::string machineType;
  int isPelorin = 0;
  int h8 = 0;
  int marlix = 0;
  int ipmi = 0;
  int vpdLoadResult = 0;
  int vpdLength = 0;
  int vpdSystemResult = 0;
  std::string vpdSystem;
  int vpdMotherboardResult = 0;
  std::string vpdMotherboard;
};

// Calls the twelve exports and records what they answered.
Answers Collect();

// Renderings of one record: aligned lines for people, one JSON object for
// scripts (each byte of a string becomes the code point of the same value).
std::string RenderText(const Answers &a);
std::string RenderJson(const Answers &a);

}  // namespace fwprobe::cli

#endif
