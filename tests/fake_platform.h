// A platform for the core's tests: records every call in order as one line
// of text, knows which files exist (and which are corrupt), and can be told
// what each query answers.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace testing_support {

class FakePlatform : public platform::Platform {
 public:
  FakePlatform();

  // The disc: a picture file of a size, any other file (cursor, program).
  void AddPicture(const std::string& path, int width, int height);
  void AddFile(const std::string& path);
  void RemoveFile(const std::string& path);
  void CorruptFile(const std::string& path);

  std::vector<std::string> calls;
  std::uint16_t languageId = 1033;
  platform::VersionRecord versionReply{};  // fields copied on GetVersionExA
  bool versionSucceeds = true;
  std::vector<platform::VersionRecord> versionRequests;  // records as received
  bool shellExecuteRaises = false;                       // the shell call raises a run-time error
  platform::CursorHandle currentCursor = 1;              // the arrow
  std::set<platform::CursorHandle> liveCursors;          // loaded and not destroyed yet
  bool mouseCaptured = false;                            // what the form last asked of its window
  // What the native side is told for the keyboard and screen readers, in
  // order, apart from the program's calls: "focus drawn", "cues shown",
  // "focus <item>", "state <item>".
  std::vector<std::string> uiEvents;
  // Runs inside ShellExecuteA, as messages that the shell lets through would.
  std::function<void()> duringShell;
  bool ended = false;
  bool quit = false;
  std::vector<platform::RuntimeError> reported;

  // Calls recorded since the mark; Mark() starts a new span.
  void Mark() { mark_ = calls.size(); }
  std::vector<std::string> Since() const;
  void SetVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor);

  std::uint16_t GetUserDefaultLangID() override;
  int GetVersionExA(platform::VersionRecord& record) override;
  platform::CursorHandle LoadCursorFromFileA(const std::string& path) override;
  platform::CursorHandle SetCursor(platform::CursorHandle cursor) override;
  void DestroyCursor(platform::CursorHandle cursor) override;
  platform::InstanceHandle ShellExecuteA(platform::WindowHandle owner, const std::string& operation,
                                         const std::string& file, const std::string& parameters,
                                         const std::string& directory, int showCommand) override;
  double Shell(const std::string& commandLine, int windowStyle) override;
  platform::Picture LoadPicture(const std::string& path) override;
  platform::Picture LoadResourcePicture(const std::string& name) override;
  void CreateFormWindow(platform::Form& form) override;
  void ShowForm(platform::Form& form) override;
  void PictureAssigned(platform::Form& form, int control) override;
  void SetMouseCapture(platform::Form& form, bool capture) override;
  void FocusChanged(platform::Form& form) override;
  void KeyboardCuesShown(platform::Form& form) override;
  void AccessibilityEvent(platform::Form& form, platform::AccessEvent event, int item) override;
  platform::WindowHandle FormHandle(const platform::Form& form) override;
  void UnloadForm(platform::Form& form) override;
  void Quit() override;
  void EndProgram() override;
  void ReportUntrappedError(const platform::RuntimeError& error) override;

  // Loaded cursors get the lowest handle free from here on, so a freed
  // handle comes back as it does on Windows.
  static constexpr platform::CursorHandle kBusyCursorHandle = 77;
  static constexpr platform::WindowHandle kWindowHandle = 0x1234;

 private:
  void Record(std::string line);
  struct PictureFile {
    int width, height;
  };
  std::map<std::string, PictureFile> pictures_;
  std::set<std::string> files_;
  std::set<std::string> corrupt_;
  size_t mark_ = 0;
};

}  // namespace testing_support
