// The image-button engine: one implementation of load, press, hover,
// release, click and reset-zone hover that every menu window of both
// programs runs, driven by per-button rows (ButtonSpec, ResetSpec) that the
// menus declare as constexpr tables. It owns a window's form, its pictures'
// changes and its form-level flags. What a button's release starts is the
// row's Action; the actions that are not shared live with their menu.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/form.h"
#include "platform/platform.h"
#include "platform/toolkit.h"

namespace menu {

// The animated busy cursor, loaded anew at every event that shows it.
constexpr const char* kBusyCursor = "setup\\images\\hourglas.ani";

// A hit box of W x H twips; inside when 0 <= X <= W and 0 <= Y <= H.
struct Box {
  int width, height;
  constexpr bool Contains(float x, float y) const {
    return x >= 0 && y >= 0 && x <= static_cast<float>(width) && y <= static_cast<float>(height);
  }
};
constexpr Box kNoBox = {-1, -1};

using FlagSet = std::uint32_t;
constexpr FlagSet FlagBit(int flag) {
  return FlagSet{1} << flag;
}
constexpr int kNoFlag = -1;
constexpr int kMaxFlags = 8;

enum class HoverTarget : std::uint8_t { kNone, kHelpPanel, kSelf };
enum class ReleaseKind : std::uint8_t { kNone, kPlain, kBoxed };

class MenuWindow;
using ActionFn = void (*)(MenuWindow& window, const char* target);

struct Action {
  ActionFn run;        // nullptr: nothing
  const char* target;  // the row's file or command, as the action reads it
};
constexpr Action kNoAction = {nullptr, nullptr};

// The shared actions.
void StartProgram(MenuWindow& window, const char* file);  // the shell's open
void UnloadWindow(MenuWindow& window, const char* unused);
constexpr Action kUnload = {UnloadWindow, nullptr};

// One image button. A button without a pressed picture has no press
// handler, one without a hover target no hover handler, one with release
// kind kNone no release handler. The away picture follows from the hover
// target: the empty picture in the help panel, the normal picture in the
// button itself.
struct ButtonSpec {
  std::string_view control;
  const char* normalPicture;
  const char* pressedPicture;
  Box pressBox;
  HoverTarget hoverTarget;
  const char* hoverPicture;
  Box hoverBox;
  int ownFlag;
  FlagSet clearsWhenShown;     // set to 0 when the hover picture is loaded
  FlagSet clearsOnEveryHover;  // set to 0 at each hover, before the hit test
  bool restoreCursorAfterPress;
  ReleaseKind release;
  Box releaseBox;
  bool leftButtonOnly;    // boxed release acts on the left button only
  bool skipActionErrors;  // boxed release runs its action in resume-next
  Action action;          // carried out by the release
  Action click;           // carried out by a click
};

struct PictureChange {
  std::string_view control;
  const char* picture;  // "" is the empty picture
};

// A control whose every hover, with no hit test, sets flags to 0 and puts
// pictures into controls: the reset zones of the chooser and the exit
// button of the model menu.
struct ResetSpec {
  std::string_view control;
  FlagSet clears;
  bool flagsFirst;  // flags before pictures, or after them
  PictureChange pictures[2];
  int pictureCount;
  Action click;
};

struct MenuSpec {
  const platform::FormLayout* layout;
  std::string_view helpPanel;   // "" when the window has none
  const char* loadHelpPicture;  // put into the help panel at Load; nullptr: none
  int flagCount;
  const char* const* flagNames;
  const ButtonSpec* buttons;
  int buttonCount;
  const ResetSpec* resets;
  int resetCount;
};

class MenuWindow : public platform::FormEvents {
 public:
  MenuWindow(platform::Toolkit& toolkit, const MenuSpec& table);

  platform::Form& form() { return form_; }
  const platform::Form& form() const { return form_; }
  const MenuSpec& table() const { return spec_; }
  platform::Toolkit& toolkit() { return toolkit_; }
  platform::Platform& platform() { return toolkit_.platform(); }

  std::int32_t Flag(int flag) const { return flags_[static_cast<size_t>(flag)]; }
  int FlagIndex(std::string_view name) const;

  // Loads a picture file and puts it into a control.
  void PutPicture(int control, const std::string& path);

  void Load() override;
  void MouseDown(int control, int button, int shift, float x, float y) override;
  void MouseMove(int control, int button, int shift, float x, float y) override;
  void MouseUp(int control, int button, int shift, float x, float y) override;
  void Click(int control) override;

 private:
  struct Handler {
    const ButtonSpec* button = nullptr;
    const ResetSpec* reset = nullptr;
  };
  int Index(std::string_view control) const;
  void Clear(FlagSet flags);
  platform::CursorHandle LoadBusyCursor();
  platform::CursorHandle ShowBusyCursor(platform::CursorHandle busy);
  void BusyCursorDone(platform::CursorHandle busy);
  void Press(const ButtonSpec& b, int control, float x, float y);
  void Hover(const ButtonSpec& b, int control, float x, float y);
  void Release(const ButtonSpec& b, int control, int button, float x, float y);
  void Reset(const ResetSpec& r);
  void Run(const Action& action);

  platform::Toolkit& toolkit_;
  const MenuSpec& spec_;
  platform::Form form_;
  int helpPanel_ = -1;
  // A busy cursor that a press left on the screen (model B's): the one
  // loaded cursor that outlives its event, destroyed once another cursor
  // has taken its place for good.
  platform::CursorHandle shownBusy_ = 0;
  std::array<std::int32_t, kMaxFlags> flags_{};
  std::vector<Handler> handlers_;  // by control index
};

}  // namespace menu
