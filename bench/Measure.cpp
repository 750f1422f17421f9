// Reading the resident set from /proc and starting the measuring child.
#include "Measure.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>

namespace bench {

long ResidentKilobytes(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size()));
  return 0;
}

long PeakKilobytesOfChild(const std::string& flag, const std::filesystem::path& file) {
  const std::string command = "/proc/" + std::to_string(getpid()) + "/exe " + flag + " '" + file.string() + "'";
  FILE* child = popen(command.c_str(), "r");
  long kilobytes = -1;
  if (!child || std::fscanf(child, "%ld", &kilobytes) != 1) kilobytes = -1;
  if (child) pclose(child);
  return kilobytes;
}

}  // namespace bench
