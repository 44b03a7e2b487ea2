// A stand-in for disc content that is not part of the menus (the installer,
// the other models' menu programs) on the demo disc: it says what would run
// there. With DISCMENU_STANDIN_LOG set it appends its command line and
// current folder to that file instead and ends, for the tests.
#include <windows.h>

#include <string>

#ifndef STANDIN_WHAT
#define STANDIN_WHAT "a program of the installation disc"
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char dir[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, dir);
  char log[MAX_PATH] = "";
  if (GetEnvironmentVariableA("DISCMENU_STANDIN_LOG", log, MAX_PATH) > 0) {
    const std::string line = std::string(GetCommandLineA()) + "|" + dir + "\r\n";
    HANDLE f = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(f);
    }
    return 0;
  }
  const std::string text = std::string("Norvane demo disc\r\n\r\nHere the real disc starts ") +
                           STANDIN_WHAT + ".\r\n\r\nStarted as: " + GetCommandLineA() +
                           "\r\nFolder: " + dir;
  // Task-modal, the kind for a box without an owner window: it comes up as
  // the active window.
  MessageBoxA(nullptr, text.c_str(), "Demo disc stand-in",
              MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
  return 0;
}
