#include "fake_platform.h"

#include <stdexcept>

#include "platform/form.h"

namespace testing_support {

using platform::Form;

FakePlatform::FakePlatform() {
  SetVersion(2, 5, 1);
}

void FakePlatform::SetVersion(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor) {
  versionReply = platform::VersionRecord{};
  versionReply.platformId = platformId;
  versionReply.major = major;
  versionReply.minor = minor;
}

void FakePlatform::AddPicture(const std::string& path, int width, int height) {
  pictures_[path] = PictureFile{width, height};
  files_.insert(path);
}
void FakePlatform::AddFile(const std::string& path) {
  files_.insert(path);
}
void FakePlatform::RemoveFile(const std::string& path) {
  files_.erase(path);
  pictures_.erase(path);
}
void FakePlatform::CorruptFile(const std::string& path) {
  corrupt_.insert(path);
}

std::vector<std::string> FakePlatform::Since() const {
  return std::vector<std::string>(calls.begin() + static_cast<std::ptrdiff_t>(mark_), calls.end());
}

void FakePlatform::Record(std::string line) {
  // Nothing may reach the platform once the program has ended.
  if (ended) throw std::logic_error("platform call after the end: " + line);
  calls.push_back(std::move(line));
}

std::uint16_t FakePlatform::GetUserDefaultLangID() {
  Record("GetUserDefaultLangID");
  return languageId;
}

int FakePlatform::GetVersionExA(platform::VersionRecord& record) {
  Record("GetVersionExA");
  versionRequests.push_back(record);
  if (!versionSucceeds || record.size != sizeof(record)) return 0;
  record.major = versionReply.major;
  record.minor = versionReply.minor;
  record.build = versionReply.build;
  record.platformId = versionReply.platformId;
  return 1;
}

platform::CursorHandle FakePlatform::LoadCursorFromFileA(const std::string& path) {
  Record("LoadCursorFromFileA " + path);
  if (!files_.count(path) || corrupt_.count(path)) return 0;
  platform::CursorHandle handle = kBusyCursorHandle;
  while (liveCursors.count(handle)) ++handle;
  liveCursors.insert(handle);
  return handle;
}

void FakePlatform::DestroyCursor(platform::CursorHandle cursor) {
  Record("DestroyCursor " + std::to_string(cursor));
  // Destroying what was never loaded, twice, or while on the screen is a fault.
  if (!liveCursors.erase(cursor)) throw std::logic_error("destroying a cursor not loaded");
  if (cursor == currentCursor) throw std::logic_error("destroying the cursor on the screen");
}

platform::CursorHandle FakePlatform::SetCursor(platform::CursorHandle cursor) {
  Record("SetCursor " + std::to_string(cursor));
  const platform::CursorHandle previous = currentCursor;
  currentCursor = cursor;
  return previous;
}

platform::InstanceHandle FakePlatform::ShellExecuteA(
    platform::WindowHandle owner, const std::string& operation, const std::string& file,
    const std::string& parameters, const std::string& directory, int showCommand) {
  Record("ShellExecuteA " + std::to_string(owner) + " " + operation + " " + file + " [" +
         parameters + "] [" + directory + "] " + std::to_string(showCommand));
  if (duringShell) duringShell();
  if (shellExecuteRaises) platform::Raise(5);
  return files_.count(file) ? 42 : 2;  // 2: file not found
}

double FakePlatform::Shell(const std::string& commandLine, int windowStyle) {
  Record("Shell " + commandLine + " " + std::to_string(windowStyle));
  const std::string program = commandLine.substr(0, commandLine.find(' '));
  if (!files_.count(program)) platform::Raise(platform::kErrFileNotFound, program);
  return 4711;
}

platform::Picture FakePlatform::LoadPicture(const std::string& path) {
  Record("LoadPicture " + path);
  if (path.empty()) return nullptr;
  auto it = pictures_.find(path);
  if (it == pictures_.end()) platform::Raise(platform::kErrFileNotFound, path);
  if (corrupt_.count(path)) platform::Raise(platform::kErrInvalidPicture, path);
  auto image = std::make_shared<platform::Image>();
  image->width = it->second.width;
  image->height = it->second.height;
  image->source = path;
  return image;
}

platform::Picture FakePlatform::LoadResourcePicture(const std::string& name) {
  // Built-in pictures are not disc reads; they are left out of the log.
  auto image = std::make_shared<platform::Image>();
  image->source = "resource:" + name;
  return image;
}

void FakePlatform::CreateFormWindow(Form& form) {
  Record("CreateFormWindow " + std::string(form.layout().name));
}
void FakePlatform::ShowForm(Form& form) {
  Record("ShowForm " + std::string(form.layout().name));
}

void FakePlatform::PictureAssigned(Form& form, int control) {
  const platform::Picture& p = form.Control(control).picture;
  Record("Assign " + std::string(form.ControlLayoutAt(control).name) + " " +
         (p ? p->source : std::string("(empty)")));
}

void FakePlatform::SetMouseCapture(Form& /*form*/, bool capture) {
  // Not logged: the calls above are the program's, this is the toolkit's own.
  mouseCaptured = capture;
}

void FakePlatform::FocusChanged(Form& /*form*/) {
  uiEvents.push_back("focus drawn");
}

void FakePlatform::KeyboardCuesShown(Form& /*form*/) {
  uiEvents.push_back("cues shown");
}

void FakePlatform::AccessibilityEvent(Form& /*form*/, platform::AccessEvent event, int item) {
  uiEvents.push_back((event == platform::AccessEvent::kFocus ? "focus " : "state ") +
                     std::to_string(item));
}

platform::WindowHandle FakePlatform::FormHandle(const Form& /*form*/) {
  Record("FormHandle");
  return kWindowHandle;
}

void FakePlatform::UnloadForm(Form& form) {
  Record("UnloadForm " + std::string(form.layout().name));
}

void FakePlatform::Quit() {
  Record("Quit");
  quit = true;
}

void FakePlatform::EndProgram() {
  Record("EndProgram");
  ended = true;
}

void FakePlatform::ReportUntrappedError(const platform::RuntimeError& error) {
  Record("Report " + error.Message());
  reported.push_back(error);
}

}  // namespace testing_support
