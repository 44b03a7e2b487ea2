// Running one of the programs on Windows: DLL search restricted first, the
// platform, the toolkit and the start form, then the message loop.
#pragma once

#include <windows.h>

#include "menu/image_button.h"
#include "startup/startup.h"

namespace startup {

struct ProgramInfo {
  const char* name;  // titles the run-time error report
  Deliverable deliverable;
  const menu::MenuSpec* english;
  const menu::MenuSpec* chinese;  // null: English only
};

// Resource ids both programs use.
constexpr int kIconId = 1;
constexpr int kHandCursorId = 2;

int RunProgram(HINSTANCE instance, const ProgramInfo& info);

}  // namespace startup
