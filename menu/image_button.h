// The image-button engine: one implementation of load, press, hover,
// release, click and reset-zone hover that every menu window of both
// programs runs, driven by per-button rows (ButtonSpec, ResetSpec) that the
// menus declare as constexpr tables. It owns a window's form, its pictures'
// changes and its form-level flags. The keyboard and screen readers drive
// the same handlers: the focus moves along the table's focus order and
// gives each button its hover as the mouse would, Enter and Space press and
// release it, and each named row is an accessible push button. What a
// button's release starts is the row's Action; the actions that are not
// shared live with their menu.
#pragma once

#include <array>
#include <cstdint>
#include <span>
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
// button itself. Name and description are what screen readers say of it.
struct ButtonSpec {
  std::string_view control = {};
  std::string_view name = {};         // the words on its picture (UTF-8)
  std::string_view description = {};  // what its help says, or what it opens (UTF-8)
  const char* normalPicture = nullptr;
  const char* pressedPicture = nullptr;
  Box pressBox = kNoBox;
  HoverTarget hoverTarget = HoverTarget::kNone;
  const char* hoverPicture = nullptr;
  Box hoverBox = kNoBox;
  int ownFlag = kNoFlag;
  FlagSet clearsWhenShown = 0;     // set to 0 when the hover picture is loaded
  FlagSet clearsOnEveryHover = 0;  // set to 0 at each hover, before the hit test
  bool restoreCursorAfterPress = true;
  ReleaseKind release = ReleaseKind::kNone;
  Box releaseBox = kNoBox;
  bool leftButtonOnly = false;    // boxed release acts on the left button only
  bool skipActionErrors = false;  // boxed release runs its action in resume-next
  Action action = kNoAction;      // carried out by the release
  Action click = kNoAction;       // carried out by a click
};

struct PictureChange {
  std::string_view control = {};  // "" ends the list
  const char* picture = nullptr;  // "" is the empty picture
};

// A control whose every hover, with no hit test, sets flags to 0 and puts
// pictures into controls: the reset zones of the chooser and the exit
// button of the model menu (which alone has a name and a click).
struct ResetSpec {
  std::string_view control = {};
  std::string_view name = {};
  std::string_view description = {};
  FlagSet clears = 0;
  bool flagsFirst = true;  // flags before pictures, or after them
  PictureChange pictures[2] = {};
  Action click = kNoAction;
};

struct MenuSpec {
  const platform::FormLayout* layout = nullptr;
  std::string_view helpPanel = {};        // "" when the window has none
  const char* loadHelpPicture = nullptr;  // put into the help panel at Load; nullptr: none
  std::span<const char* const> flagNames = {};
  std::span<const ButtonSpec> buttons = {};
  std::span<const ResetSpec> resets = {};
  // The keyboard's order, top to bottom: controls of the rows above that
  // have a name.
  std::span<const std::string_view> focusOrder = {};
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
  void KeyDown(platform::Key key, int shift, bool repeat) override;
  void DefaultAction(int item) override;
  void TakeFocus(int item) override;

  // The keyboard's stops in order, as control indexes; the one with the
  // focus, -1 for none.
  std::span<const int> FocusStops() const { return stops_; }
  int FocusStop() const;
  // Where the keyboard acts on a control, in twips relative to it: a point
  // inside its hover, press and release boxes and the control itself.
  void InsidePoint(int control, float& x, float& y) const;

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
  void MoveFocus(int stop);
  void Activate(int control);

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
  std::vector<int> stops_;         // focus order, as control indexes
};

}  // namespace menu
