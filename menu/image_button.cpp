#include "menu/image_button.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace menu {

using platform::CursorHandle;

void StartProgram(MenuWindow& window, const char* file) {
  platform::Platform& p = window.platform();
  p.ShellExecuteA(p.FormHandle(window.form()), "open", file, "", "", platform::kShowNormal);
}

void UnloadWindow(MenuWindow& window, const char* /*unused*/) {
  window.toolkit().Unload(window.form());
}

MenuWindow::MenuWindow(platform::Toolkit& toolkit, const MenuSpec& table)
    : toolkit_(toolkit), spec_(table), form_(toolkit, *table.layout, *this) {
  handlers_.resize(static_cast<size_t>(form_.ControlCount()));
  if (!table.helpPanel.empty()) helpPanel_ = Index(table.helpPanel);
  for (const ButtonSpec& b : table.buttons)
    handlers_[static_cast<size_t>(Index(b.control))].button = &b;
  for (const ResetSpec& r : table.resets)
    handlers_[static_cast<size_t>(Index(r.control))].reset = &r;
  // Screen readers see the focus stops, then the labels.
  std::vector<platform::AccessibleItem> items;
  for (std::string_view name : table.focusOrder) {
    const int control = Index(name);
    const Handler& h = handlers_[static_cast<size_t>(control)];
    const std::string_view spoken = h.button ? h.button->name : h.reset ? h.reset->name : "";
    // A stop that screen readers could not name is a mistake of the tables.
    if (spoken.empty()) platform::Raise(platform::kErrInternal, std::string(name));
    stops_.push_back(control);
    items.push_back({control, platform::AccessibleRole::kPushButton, spoken,
                     h.button ? h.button->description : h.reset->description});
  }
  for (int c = 0; c < form_.ControlCount(); ++c) {
    const platform::ControlLayout& l = form_.ControlLayoutAt(c);
    if (l.kind == platform::ControlKind::kLabel && !l.text.empty()) {
      items.push_back({c, platform::AccessibleRole::kStaticText, l.text, ""});
    }
  }
  form_.SetAccessibleItems(std::move(items));
}

int MenuWindow::Index(std::string_view control) const {
  const int i = form_.ControlIndex(control);
  // A table naming a control that its window lacks is a build mistake.
  if (i < 0) platform::Raise(platform::kErrInternal, std::string(control));
  return i;
}

int MenuWindow::FlagIndex(std::string_view name) const {
  for (size_t i = 0; i < spec_.flagNames.size(); ++i) {
    if (name == spec_.flagNames[i]) return static_cast<int>(i);
  }
  return kNoFlag;
}

void MenuWindow::PutPicture(int control, const std::string& path) {
  form_.SetPicture(control, platform().LoadPicture(path));
}

void MenuWindow::Clear(FlagSet flags) {
  for (size_t i = 0; i < spec_.flagNames.size(); ++i) {
    if (flags & FlagBit(static_cast<int>(i))) flags_[i] = 0;
  }
}

CursorHandle MenuWindow::LoadBusyCursor() {
  const CursorHandle busy = platform().LoadCursorFromFileA(kBusyCursor);
  if (busy == 0) toolkit_.End();
  return busy;
}

// Every busy cursor is loaded anew; each is destroyed as soon as nothing
// shows it and no handler will put it back, so none accumulate.
CursorHandle MenuWindow::ShowBusyCursor(CursorHandle busy) {
  const CursorHandle previous = platform().SetCursor(busy);
  // A cursor left shown by an earlier press that something else has
  // replaced since (the window's own pointer, another program's) is done.
  if (shownBusy_ != 0 && previous != shownBusy_) BusyCursorDone(shownBusy_);
  return previous;
}

void MenuWindow::BusyCursorDone(CursorHandle busy) {
  if (busy == shownBusy_) shownBusy_ = 0;
  platform().DestroyCursor(busy);
}

void MenuWindow::Run(const Action& action) {
  if (action.run) action.run(*this, action.target);
}

void MenuWindow::Load() {
  flags_.fill(0);
  if (spec_.loadHelpPicture) PutPicture(helpPanel_, spec_.loadHelpPicture);
}

void MenuWindow::MouseDown(int control, int button, int /*shift*/, float x, float y) {
  // A left press takes the keyboard focus along, as on any Windows button;
  // nothing is drawn for it until the keyboard has been used.
  if (button == platform::kLeftButton &&
      std::find(stops_.begin(), stops_.end(), control) != stops_.end()) {
    form_.SetFocusedControl(control);
  }
  const Handler& h = handlers_[static_cast<size_t>(control)];
  if (h.button && h.button->pressedPicture) Press(*h.button, control, x, y);
}

void MenuWindow::MouseMove(int control, int /*button*/, int /*shift*/, float x, float y) {
  const Handler& h = handlers_[static_cast<size_t>(control)];
  if (h.reset) Reset(*h.reset);
  if (h.button && h.button->hoverTarget != HoverTarget::kNone) Hover(*h.button, control, x, y);
}

void MenuWindow::MouseUp(int control, int button, int /*shift*/, float x, float y) {
  const Handler& h = handlers_[static_cast<size_t>(control)];
  if (h.button && h.button->release != ReleaseKind::kNone) {
    Release(*h.button, control, button, x, y);
  }
}

void MenuWindow::Click(int control) {
  const Handler& h = handlers_[static_cast<size_t>(control)];
  if (h.button) Run(h.button->click);
  if (h.reset) Run(h.reset->click);
}

void MenuWindow::Press(const ButtonSpec& b, int control, float x, float y) {
  const CursorHandle busy = LoadBusyCursor();
  const CursorHandle previous = ShowBusyCursor(busy);
  if (b.pressBox.Contains(x, y)) PutPicture(control, b.pressedPicture);
  if (b.restoreCursorAfterPress) {
    platform().SetCursor(previous);
    BusyCursorDone(busy);
    return;
  }
  // The busy cursor stays; one that an earlier press left is replaced for good.
  if (shownBusy_ != 0) BusyCursorDone(shownBusy_);
  shownBusy_ = busy;
}

void MenuWindow::Hover(const ButtonSpec& b, int control, float x, float y) {
  Clear(b.clearsOnEveryHover);
  const int target = b.hoverTarget == HoverTarget::kHelpPanel ? helpPanel_ : control;
  if (!b.hoverBox.Contains(x, y)) {
    PutPicture(target, b.hoverTarget == HoverTarget::kHelpPanel ? "" : b.normalPicture);
    return;
  }
  if (flags_[static_cast<size_t>(b.ownFlag)] == 1) return;
  PutPicture(target, b.hoverPicture);
  flags_[static_cast<size_t>(b.ownFlag)] = 1;
  Clear(b.clearsWhenShown);
}

void MenuWindow::Release(const ButtonSpec& b, int control, int button, float x, float y) {
  if (b.release == ReleaseKind::kPlain) {
    PutPicture(control, b.normalPicture);
    Run(b.action);
    return;
  }
  const CursorHandle busy = LoadBusyCursor();
  PutPicture(control, b.normalPicture);
  if (!b.releaseBox.Contains(x, y) || (b.leftButtonOnly && button != platform::kLeftButton)) {
    BusyCursorDone(busy);  // loaded, never shown
    return;
  }
  const CursorHandle previous = ShowBusyCursor(busy);
  if (b.skipActionErrors) {
    platform::Toolkit::ResumeNext([&] { Run(b.action); });
  } else {
    Run(b.action);
  }
  platform().SetCursor(previous);
  BusyCursorDone(busy);
}

void MenuWindow::Reset(const ResetSpec& r) {
  if (r.flagsFirst) Clear(r.clears);
  for (const PictureChange& change : r.pictures) {
    if (change.control.empty()) break;
    PutPicture(Index(change.control), change.picture);
  }
  if (!r.flagsFirst) Clear(r.clears);
}

}  // namespace menu

namespace menu {

int MenuWindow::FocusStop() const {
  const auto at = std::find(stops_.begin(), stops_.end(), form_.FocusedControl());
  return at == stops_.end() ? -1 : static_cast<int>(at - stops_.begin());
}

void MenuWindow::InsidePoint(int control, float& x, float& y) const {
  const platform::ControlState& c = form_.Control(control);
  int w = c.width;
  int h = c.height;
  if (const ButtonSpec* b = handlers_[static_cast<size_t>(control)].button) {
    auto within = [&](bool used, const Box& box) {
      if (!used) return;
      w = std::min(w, box.width);
      h = std::min(h, box.height);
    };
    within(b->hoverTarget != HoverTarget::kNone, b->hoverBox);
    within(b->pressedPicture != nullptr, b->pressBox);
    within(b->release == ReleaseKind::kBoxed, b->releaseBox);
  }
  x = static_cast<float>(w) / 2;
  y = static_cast<float>(h) / 2;
}

void MenuWindow::KeyDown(platform::Key key, int shift, bool repeat) {
  // During a drag the mouse has the buttons; keys wait for no one.
  if (form_.Captured() || stops_.empty()) return;
  const int count = static_cast<int>(stops_.size());
  const int at = FocusStop();
  const int next = at < 0 ? 0 : (at + 1) % count;
  const int previous = at < 0 ? count - 1 : (at + count - 1) % count;
  switch (key) {
    case platform::Key::kEscape:
      toolkit_.Unload(form_);  // as the window's close button
      return;
    case platform::Key::kTab:
      form_.ShowKeyboardCues();
      MoveFocus(shift & platform::kShiftMask ? previous : next);
      return;
    case platform::Key::kDown:
    case platform::Key::kUp:
      form_.ShowKeyboardCues();
      MoveFocus(key == platform::Key::kDown ? next : previous);
      return;
    case platform::Key::kEnter:
    case platform::Key::kSpace:
      form_.ShowKeyboardCues();
      // A held key presses once: its repeats would start the program again and again.
      if (!repeat && at >= 0) Activate(stops_[static_cast<size_t>(at)]);
      return;
  }
}

void MenuWindow::DefaultAction(int item) {
  const platform::AccessibleItem& it = form_.AccessibleItems()[static_cast<size_t>(item)];
  if (form_.Captured() || it.role != platform::AccessibleRole::kPushButton) return;
  TakeFocus(item);
  Activate(it.control);
}

void MenuWindow::TakeFocus(int item) {
  if (form_.Captured()) return;
  const int control = form_.AccessibleItems()[static_cast<size_t>(item)].control;
  const auto at = std::find(stops_.begin(), stops_.end(), control);
  if (at != stops_.end()) MoveFocus(static_cast<int>(at - stops_.begin()));
}

// The focus leaves a button as the pointer would, with a hover outside its
// box, and comes to the next with a hover inside, so that the help panel
// and the lit buttons follow exactly the mouse's rules.
void MenuWindow::MoveFocus(int stop) {
  const int from = FocusStop();
  if (stop == from) return;
  constexpr float kOutside = -platform::kTwipsPerPixel;
  if (from >= 0) MouseMove(stops_[static_cast<size_t>(from)], 0, 0, kOutside, kOutside);
  const int control = stops_[static_cast<size_t>(stop)];
  form_.SetFocusedControl(control);
  float x, y;
  InsidePoint(control, x, y);
  MouseMove(control, 0, 0, x, y);
}

// What a left click at the button's inside point does: its press, its
// release and its click, with every platform call of theirs.
void MenuWindow::Activate(int control) {
  float x, y;
  InsidePoint(control, x, y);
  MouseDown(control, platform::kLeftButton, 0, x, y);
  MouseUp(control, platform::kLeftButton, 0, x, y);
  if (form_.Loaded()) Click(control);
}

}  // namespace menu
