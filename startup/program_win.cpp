#include "startup/program_win.h"

#include "platform/platform_win.h"
#include "platform/toolkit.h"

namespace startup {

int RunProgram(HINSTANCE instance, const ProgramInfo& info) {
  platform::RestrictDllSearch();
  platform::WinPlatform win(instance, info.name, kIconId, kHandCursorId);
  platform::Toolkit toolkit(win);
  Program program(toolkit, info.deliverable, *info.english, info.chinese);
  program.Start();
  return toolkit.Ended() ? 0 : win.RunMessageLoop();
}

}  // namespace startup
