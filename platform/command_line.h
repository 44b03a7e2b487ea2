// Splitting a command line into the program it starts and the rest, and
// telling a bare program name (no drive, no folder) from a path. Where a
// bare name is looked for is the platform's; that it is never looked for in
// the program's folder or the current directory is the rule here.
#pragma once

#include <string>

namespace platform {

struct CommandLine {
  std::string program;  // the first word, without quotes
  bool bareName;        // no drive and no folder: looked for in Windows' own folders only
};

CommandLine ParseCommandLine(const std::string& commandLine);

}  // namespace platform
