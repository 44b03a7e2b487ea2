// The platform operations that the menus call on, behind one narrow
// interface: the user's language, the version record, the busy cursor, the
// shell, picture files and the native side of forms. Windows implements it
// in platform_win.cpp, the tests with FakePlatform. Which calls are made, in
// which order and with which arguments is decided by the callers; an
// implementation only carries them out.
#pragma once

#include <cstdint>
#include <string>

#include "platform/error.h"
#include "platform/image.h"

namespace platform {

class Form;
enum class AccessEvent : std::uint8_t;  // form.h

// Opaque handles: whatever the platform hands out, passed back unchanged.
using WindowHandle = std::uintptr_t;
using CursorHandle = std::uintptr_t;
using InstanceHandle = std::uintptr_t;

// The ANSI version record, field for field: 148 bytes.
struct VersionRecord {
  std::uint32_t size;
  std::uint32_t major;
  std::uint32_t minor;
  std::uint32_t build;
  std::uint32_t platformId;
  char servicePack[128];
};
static_assert(sizeof(VersionRecord) == 148, "the version record is 148 bytes");

// Show command and window style: a normal, activated window.
constexpr int kShowNormal = 1;

class Platform {
 public:
  virtual ~Platform() = default;

  // Language identifier of the user's default language.
  virtual std::uint16_t GetUserDefaultLangID() = 0;
  // Fills the record; nonzero on success. Callers prepare the record.
  virtual int GetVersionExA(VersionRecord& record) = 0;

  // 0 when the file cannot be loaded as a cursor.
  virtual CursorHandle LoadCursorFromFileA(const std::string& path) = 0;
  // Makes the cursor current; returns the one that was current before.
  virtual CursorHandle SetCursor(CursorHandle cursor) = 0;
  // Frees a cursor from LoadCursorFromFileA that nothing shows any more.
  virtual void DestroyCursor(CursorHandle cursor) = 0;

  // The shell's open; the result is an error code below 33 on failure.
  virtual InstanceHandle ShellExecuteA(WindowHandle owner, const std::string& operation,
                                       const std::string& file, const std::string& parameters,
                                       const std::string& directory, int showCommand) = 0;
  // Starts a command line with a window style; raises a RuntimeError when
  // it cannot be started. Returns the task id.
  virtual double Shell(const std::string& commandLine, int windowStyle) = 0;

  // Loads a picture file; "" gives the empty picture (null). Raises a
  // RuntimeError for a missing or unreadable file.
  virtual Picture LoadPicture(const std::string& path) = 0;
  // A picture built into the program (design-time pictures, backgrounds).
  virtual Picture LoadResourcePicture(const std::string& name) = 0;

  // Native side of a form: created hidden when the form loads, shown,
  // told when a control's picture changed, destroyed on unload.
  virtual void CreateFormWindow(Form& form) = 0;
  virtual void ShowForm(Form& form) = 0;
  virtual void PictureAssigned(Form& form, int control) = 0;
  // Holds the mouse for the form's window, or lets it go: the form asks
  // whenever what it has been given needs it (a drag, or a press that waits
  // for a running handler), so that every release reaches it.
  virtual void SetMouseCapture(Form& form, bool capture) = 0;
  // The keyboard focus moved, or focus cues began to show: the native side
  // redraws the focus rectangle.
  virtual void FocusChanged(Form& form) = 0;
  // Focus cues show from now on: the native side tells the system.
  virtual void KeyboardCuesShown(Form& form) = 0;
  // Tells screen readers that an accessible item (-1: the window) changed.
  virtual void AccessibilityEvent(Form& form, AccessEvent event, int item) = 0;
  virtual WindowHandle FormHandle(const Form& form) = 0;
  virtual void UnloadForm(Form& form) = 0;

  // The last form is gone: the program ends once the current event is done.
  virtual void Quit() = 0;
  // Ends the program at once, without a message. Need not return.
  virtual void EndProgram() = 0;
  // Reports an error that no handler trapped; the toolkit ends the program
  // right after.
  virtual void ReportUntrappedError(const RuntimeError& error) = 0;
};

}  // namespace platform
