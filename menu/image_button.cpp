#include "menu/image_button.h"

#include <stdexcept>

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
  for (int i = 0; i < table.buttonCount; ++i) {
    handlers_[static_cast<size_t>(Index(table.buttons[i].control))].button = &table.buttons[i];
  }
  for (int i = 0; i < table.resetCount; ++i) {
    handlers_[static_cast<size_t>(Index(table.resets[i].control))].reset = &table.resets[i];
  }
}

int MenuWindow::Index(std::string_view control) const {
  const int i = form_.ControlIndex(control);
  // A table naming a control that its window lacks is a build mistake.
  if (i < 0) platform::Raise(platform::kErrInternal, std::string(control));
  return i;
}

int MenuWindow::FlagIndex(std::string_view name) const {
  for (int i = 0; i < spec_.flagCount; ++i) {
    if (name == spec_.flagNames[i]) return i;
  }
  return kNoFlag;
}

void MenuWindow::PutPicture(int control, const std::string& path) {
  form_.SetPicture(control, platform().LoadPicture(path));
}

void MenuWindow::Clear(FlagSet flags) {
  for (int i = 0; i < spec_.flagCount; ++i) {
    if (flags & FlagBit(i)) flags_[static_cast<size_t>(i)] = 0;
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

void MenuWindow::MouseDown(int control, int /*button*/, int /*shift*/, float x, float y) {
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
  for (int i = 0; i < r.pictureCount; ++i) {
    PutPicture(Index(r.pictures[i].control), r.pictures[i].picture);
  }
  if (!r.flagsFirst) Clear(r.clears);
}

}  // namespace menu
