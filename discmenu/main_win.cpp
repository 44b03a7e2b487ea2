// discmenu: the model chooser at the root of the disc.
#include <windows.h>

#include "discmenu/discmenu.h"
#include "startup/program_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const startup::ProgramInfo info = {"discmenu", startup::Deliverable::kDiscMenu,
                                     &discmenu::kWizard, nullptr};
  return startup::RunProgram(instance, info);
}
