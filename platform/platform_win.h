// The platform on Windows: the Win32 calls the menus make, the forms' native
// windows (frame, centring, double-buffered painting with the focus
// rectangle, mouse and key messages turned into the form's input, the
// cursor the form asks for, screen readers' requests handed to
// accessible_win) and the error report. It decides nothing that the core
// decides: it translates.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/form.h"
#include "platform/platform.h"

namespace platform {

class WinPlatform : public Platform {
 public:
  // name titles error reports; icon and hand cursor are resource ids.
  WinPlatform(HINSTANCE instance, const char* name, int iconId, int handCursorId);
  ~WinPlatform() override;

  std::uint16_t GetUserDefaultLangID() override;
  int GetVersionExA(VersionRecord& record) override;
  CursorHandle LoadCursorFromFileA(const std::string& path) override;
  CursorHandle SetCursor(CursorHandle cursor) override;
  void DestroyCursor(CursorHandle cursor) override;
  InstanceHandle ShellExecuteA(WindowHandle owner, const std::string& operation,
                               const std::string& file, const std::string& parameters,
                               const std::string& directory, int showCommand) override;
  double Shell(const std::string& commandLine, int windowStyle) override;
  Picture LoadPicture(const std::string& path) override;
  Picture LoadResourcePicture(const std::string& name) override;
  void CreateFormWindow(Form& form) override;
  void ShowForm(Form& form) override;
  void PictureAssigned(Form& form, int control) override;
  void SetMouseCapture(Form& form, bool capture) override;
  void FocusChanged(Form& form) override;
  void KeyboardCuesShown(Form& form) override;
  void AccessibilityEvent(Form& form, AccessEvent event, int item) override;
  WindowHandle FormHandle(const Form& form) override;
  void UnloadForm(Form& form) override;
  void Quit() override;
  void EndProgram() override;
  void ReportUntrappedError(const RuntimeError& error) override;

  // Runs the message loop until the program ends; returns the exit code.
  int RunMessageLoop();

 private:
  struct Window {
    Form* form;
    HWND hwnd = nullptr;
    HDC buffer = nullptr;  // the back buffer: a 32-bit DIB of the client size
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    std::uint32_t* pixels = nullptr;
    void* accessible = nullptr;  // what screen readers were given (accessible_win.h)
    bool trackingLeave = false;  // told when the pointer leaves
  };
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT Handle(Window& w, UINT msg, WPARAM wp, LPARAM lp);
  void Paint(Window& w);
  Window* Find(const Form& form);

  HINSTANCE instance_;
  std::string name_;
  HICON icon_;
  HICON smallIcon_;
  HCURSOR hand_;
  HCURSOR arrow_;
  ATOM windowClass_;
  std::vector<Window*> windows_;  // alive until the program ends
  int exitCode_ = 0;
};

// Restricts where DLLs are loaded from to Windows' system folder, as early
// as possible, on every Windows that allows it.
void RestrictDllSearch();

// Loads a DLL of the system folder by its full path; null when it is not
// there. DLLs that only some events need are loaded this way when first
// needed, which keeps them off the path to the first painted window.
HMODULE LoadSystemLibrary(const wchar_t* file);

// COM on the UI thread (apartment-threaded, no OLE1 DDE), once, before the
// shell or anything else that may use COM objects; ole32 is loaded then.
// False when COM cannot be had.
bool InitializeCom();
// Balances InitializeCom at the program's normal end.
void UninitializeCom();

}  // namespace platform
