// modelmenu: the setup menu of the NV-QX480K model.
#include <windows.h>

#include "modelmenu/modelmenu.h"
#include "startup/program_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const startup::ProgramInfo info = {"modelmenu", startup::Deliverable::kModelMenu,
                                     &modelmenu::kWizard, &modelmenu::kWizardZhCN};
  return startup::RunProgram(instance, info);
}
