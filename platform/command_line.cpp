#include "platform/command_line.h"

namespace platform {

CommandLine ParseCommandLine(const std::string& commandLine) {
  CommandLine parsed;
  size_t i = commandLine.find_first_not_of(" \t");
  if (i == std::string::npos) return CommandLine{"", false};
  if (commandLine[i] == '"') {
    const size_t end = commandLine.find('"', i + 1);
    parsed.program = commandLine.substr(i + 1, end == std::string::npos ? end : end - i - 1);
  } else {
    const size_t end = commandLine.find_first_of(" \t", i);
    parsed.program = commandLine.substr(i, end == std::string::npos ? end : end - i);
  }
  parsed.bareName = !parsed.program.empty() &&
                    parsed.program.find_first_of("\\/:") == std::string::npos &&
                    parsed.program != "." && parsed.program != "..";
  return parsed;
}

}  // namespace platform
