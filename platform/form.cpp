#include "platform/form.h"

#include "platform/toolkit.h"

namespace platform {

namespace {

// sRGB channel values made linear, scaled to 65535: the relative luminance
// that the usual contrast ratio is reckoned in, without a power function.
constexpr std::uint16_t kLinear[256] = {
    0,     20,    40,    60,    80,    99,    119,   139,   159,   179,   199,   219,   241,
    264,   288,   313,   340,   367,   396,   427,   458,   491,   526,   562,   599,   637,
    677,   718,   761,   805,   851,   898,   947,   997,   1048,  1101,  1156,  1212,  1270,
    1330,  1391,  1453,  1517,  1583,  1651,  1720,  1790,  1863,  1937,  2013,  2090,  2170,
    2250,  2333,  2418,  2504,  2592,  2681,  2773,  2866,  2961,  3058,  3157,  3258,  3360,
    3464,  3570,  3678,  3788,  3900,  4014,  4129,  4247,  4366,  4488,  4611,  4736,  4864,
    4993,  5124,  5257,  5392,  5530,  5669,  5810,  5953,  6099,  6246,  6395,  6547,  6700,
    6856,  7014,  7174,  7335,  7500,  7666,  7834,  8004,  8177,  8352,  8528,  8708,  8889,
    9072,  9258,  9445,  9635,  9828,  10022, 10219, 10417, 10619, 10822, 11028, 11235, 11446,
    11658, 11873, 12090, 12309, 12530, 12754, 12980, 13209, 13440, 13673, 13909, 14146, 14387,
    14629, 14874, 15122, 15371, 15623, 15878, 16135, 16394, 16656, 16920, 17187, 17456, 17727,
    18001, 18277, 18556, 18837, 19121, 19407, 19696, 19987, 20281, 20577, 20876, 21177, 21481,
    21787, 22096, 22407, 22721, 23038, 23357, 23678, 24002, 24329, 24658, 24990, 25325, 25662,
    26001, 26344, 26688, 27036, 27386, 27739, 28094, 28452, 28813, 29176, 29542, 29911, 30282,
    30656, 31033, 31412, 31794, 32179, 32567, 32957, 33350, 33745, 34143, 34544, 34948, 35355,
    35764, 36176, 36591, 37008, 37429, 37852, 38278, 38706, 39138, 39572, 40009, 40449, 40891,
    41337, 41785, 42236, 42690, 43147, 43606, 44069, 44534, 45002, 45473, 45947, 46423, 46903,
    47385, 47871, 48359, 48850, 49344, 49841, 50341, 50844, 51349, 51858, 52369, 52884, 53401,
    53921, 54445, 54971, 55500, 56032, 56567, 57105, 57646, 58190, 58737, 59287, 59840, 60396,
    60955, 61517, 62082, 62650, 63221, 63795, 64372, 64952, 65535,
};

double Luminance(std::uint32_t rgb) {
  return (0.2126 * kLinear[(rgb >> 16) & 0xFFu] + 0.7152 * kLinear[(rgb >> 8) & 0xFFu] +
          0.0722 * kLinear[rgb & 0xFFu]) /
         65535.0;
}

}  // namespace

std::uint32_t LabelTextColour(std::uint32_t systemText) {
  // 4.5 to 1: the contrast that normal-sized text needs to be read easily.
  const double ratio = (Luminance(kLabelGround) + 0.05) / (Luminance(systemText) + 0.05);
  return ratio >= 4.5 ? systemText & 0xFFFFFFu : 0x000000u;
}

Form::Form(Toolkit& toolkit, const FormLayout& layout, FormEvents& events)
    : toolkit_(toolkit), layout_(layout), events_(events) {
  controls_.reserve(layout.controls.size());
  for (const ControlLayout& c : layout.controls) {
    controls_.push_back(ControlState{c.left, c.top, c.width, c.height, nullptr});
  }
}

int Form::ControlIndex(std::string_view name) const {
  for (size_t i = 0; i < layout_.controls.size(); ++i) {
    if (layout_.controls[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

void Form::SetPicture(int control, Picture picture) {
  ControlState& c = controls_[static_cast<size_t>(control)];
  if (picture) {
    c.width = picture->width * kTwipsPerPixel;
    c.height = picture->height * kTwipsPerPixel;
  }
  c.picture = std::move(picture);
  toolkit_.platform().PictureAssigned(*this, control);
}

void Form::LoadInitialPictures() {
  // Design-time pictures keep the size the layout gives the control (the
  // background is smaller than its container).
  for (size_t i = 0; i < layout_.controls.size(); ++i) {
    const ControlLayout& c = layout_.controls[i];
    if (!c.picture.empty()) {
      controls_[i].picture = toolkit_.platform().LoadResourcePicture(std::string(c.picture));
    }
  }
}

void Form::PointerMove(int px, int py, int shift) {
  Post({InputKind::kMove, 0, px, py, shift});
}
void Form::PointerDown(int button, int px, int py, int shift) {
  Post({InputKind::kDown, button, px, py, shift});
}
void Form::PointerUp(int button, int px, int py, int shift) {
  Post({InputKind::kUp, button, px, py, shift});
}
void Form::CaptureLost() {
  // Letting go of the mouse itself is not a loss.
  if (!nativeCapture_) return;
  nativeCapture_ = false;
  Post({InputKind::kCaptureLost, 0, 0, 0, 0});
}
void Form::CloseRequested() {
  Post({InputKind::kClose, 0, 0, 0, 0});
}
void Form::PointerLeft() {
  SetHot(-1);
}
void Form::KeyDown(Key key, int shift, bool repeat) {
  Post({InputKind::kKey, static_cast<int>(key), repeat ? 1 : 0, 0, shift});
}
void Form::DoDefaultAction(int item) {
  Post({InputKind::kDefaultAction, item, 0, 0, 0});
}
void Form::TakeFocus(int item) {
  Post({InputKind::kTakeFocus, item, 0, 0, 0});
}

void Form::SetFocusedControl(int control) {
  if (control == focus_) return;
  const int before = focus_;
  focus_ = control;
  if (cues_) toolkit_.platform().FocusChanged(*this);
  Notify(AccessEvent::kStateChange, before);
  Notify(AccessEvent::kStateChange, control);
  Notify(AccessEvent::kFocus, control);
}

void Form::ShowKeyboardCues() {
  if (cues_) return;
  cues_ = true;
  toolkit_.platform().KeyboardCuesShown(*this);
  if (focus_ >= 0) toolkit_.platform().FocusChanged(*this);
}

bool Form::FocusCue(int& x, int& y, int& w, int& h) const {
  if (!cues_ || focus_ < 0) return false;
  PixelRect(focus_, x, y, w, h);
  // Just outside the picture, so that the rectangle hides nothing of it.
  x -= 2;
  y -= 2;
  w += 4;
  h += 4;
  return true;
}

void Form::SetAccessibleItems(std::vector<AccessibleItem> items) {
  accessible_ = std::move(items);
}

int Form::AccessibleItemOf(int control) const {
  for (size_t i = 0; i < accessible_.size(); ++i) {
    if (control >= 0 && accessible_[i].control == control) return static_cast<int>(i);
  }
  return -1;
}

int Form::AccessibleItemAt(int px, int py) const {
  return AccessibleItemOf(HitTest(px, py));
}

bool Form::AccessibleHot(int item) const {
  return hot_ >= 0 && accessible_[static_cast<size_t>(item)].control == hot_;
}

void Form::SetHot(int control) {
  if (control == hot_) return;
  const int before = hot_;
  hot_ = control;
  Notify(AccessEvent::kStateChange, before);
  Notify(AccessEvent::kStateChange, control);
}

void Form::Notify(AccessEvent event, int control) {
  const int item = AccessibleItemOf(control);
  // Focus on no item is focus on the window itself.
  if (item >= 0 || (event == AccessEvent::kFocus && control < 0)) {
    toolkit_.platform().AccessibilityEvent(*this, event, item);
  }
}

void Form::Post(const Input& input) {
  pending_.push_back(input);
  // A press that must wait for a running handler takes the mouse now, so
  // that its release comes here even when it happens outside the window.
  SyncCapture();
  if (toolkit_.Busy()) return;  // handled when the running handler is done
  while (!pending_.empty()) {
    const Input next = pending_.front();
    pending_.pop_front();
    if (toolkit_.Ended() || !loaded_) {
      pending_.clear();
      break;
    }
    Handle(next);
  }
  SyncCapture();
}

// Whether the window must hold the mouse: the form's drag as it will stand
// once the input still waiting has been handled, a press counting from the
// moment it arrives.
bool Form::WantsCapture() const {
  if (!loaded_ || toolkit_.Ended()) return false;
  int control = capture_;
  int held = held_;
  for (const Input& in : pending_) {
    if (in.kind == InputKind::kDown && !(held & in.button)) {
      if (control < 0) control = HitTest(in.px, in.py);
      if (control >= 0) held |= in.button;
    } else if (in.kind == InputKind::kUp && control >= 0 && (held & in.button)) {
      held &= ~in.button;
      if (held == 0) control = -1;
    } else if (in.kind == InputKind::kCaptureLost) {
      control = -1;
      held = 0;
    }
  }
  return control >= 0;
}

void Form::SyncCapture() {
  const bool wanted = WantsCapture();
  if (wanted == nativeCapture_) return;
  nativeCapture_ = wanted;
  toolkit_.platform().SetMouseCapture(*this, wanted);
}

float Form::LocalX(int control, int px) const {
  return static_cast<float>(px * kTwipsPerPixel - controls_[static_cast<size_t>(control)].left);
}
float Form::LocalY(int control, int py) const {
  return static_cast<float>(py * kTwipsPerPixel - controls_[static_cast<size_t>(control)].top);
}

void Form::Handle(const Input& in) {
  switch (in.kind) {
    case InputKind::kMove: {
      SetHot(HitTest(in.px, in.py));
      const int target = capture_ >= 0 ? capture_ : HitTest(in.px, in.py);
      if (target < 0) return;
      toolkit_.Run([&] {
        events_.MouseMove(target, held_, in.shift, LocalX(target, in.px), LocalY(target, in.py));
      });
      return;
    }
    case InputKind::kDown: {
      if (held_ & in.button) return;  // already down: a repeated message
      if (capture_ < 0) {
        capture_ = HitTest(in.px, in.py);
        if (capture_ < 0) return;
      }
      held_ |= in.button;
      if (in.button == kLeftButton) leftDownOn_ = capture_;
      const int target = capture_;
      toolkit_.Run([&] {
        events_.MouseDown(target, in.button, in.shift, LocalX(target, in.px),
                          LocalY(target, in.py));
      });
      return;
    }
    case InputKind::kUp: {
      if (!(held_ & in.button) || capture_ < 0) return;  // its press went elsewhere
      const int target = capture_;
      held_ &= ~in.button;
      if (held_ == 0) capture_ = -1;
      const bool click =
          in.button == kLeftButton && leftDownOn_ == target && HitTest(in.px, in.py) == target;
      if (in.button == kLeftButton) leftDownOn_ = -1;
      toolkit_.Run([&] {
        events_.MouseUp(target, in.button, in.shift, LocalX(target, in.px), LocalY(target, in.py));
      });
      if (click && loaded_) toolkit_.Run([&] { events_.Click(target); });
      return;
    }
    case InputKind::kCaptureLost:
      capture_ = -1;
      held_ = 0;
      leftDownOn_ = -1;
      return;
    case InputKind::kClose:
      toolkit_.Run([&] { toolkit_.Unload(*this); });
      return;
    case InputKind::kKey:
      toolkit_.Run([&] { events_.KeyDown(static_cast<Key>(in.button), in.shift, in.px != 0); });
      return;
    case InputKind::kDefaultAction:
    case InputKind::kTakeFocus:
      if (in.button < 0 || in.button >= static_cast<int>(accessible_.size())) return;
      toolkit_.Run([&] {
        if (in.kind == InputKind::kDefaultAction) {
          events_.DefaultAction(in.button);
        } else {
          events_.TakeFocus(in.button);
        }
      });
      return;
  }
}

int Form::HitTest(int px, int py) const {
  const int x = px * kTwipsPerPixel;
  const int y = py * kTwipsPerPixel;
  if (px < 0 || py < 0 || px >= ClientWidthPixels() || py >= ClientHeightPixels()) return -1;
  for (int i = 0; i < static_cast<int>(controls_.size()); ++i) {
    const ControlState& c = controls_[static_cast<size_t>(i)];
    if (x >= c.left && x < c.left + c.width && y >= c.top && y < c.top + c.height) return i;
  }
  return -1;
}

Pointer Form::PointerAt(int px, int py) const {
  const int i = HitTest(px, py);
  return i < 0 ? Pointer::kArrow : ControlLayoutAt(i).pointer;
}

void Form::PixelRect(int control, int& x, int& y, int& w, int& h) const {
  const ControlState& c = controls_[static_cast<size_t>(control)];
  x = TwipsToPixel(c.left);
  y = TwipsToPixel(c.top);
  w = TwipsToPixel(c.left + c.width) - x;
  h = TwipsToPixel(c.top + c.height) - y;
}

void Form::Render(Canvas& canvas) const {
  Fill(canvas, 0, 0, canvas.width, canvas.height, 0xFFFFFFFFu);
  for (int i = static_cast<int>(controls_.size()) - 1; i >= 0; --i) {
    int x, y, w, h;
    PixelRect(i, x, y, w, h);
    if (ControlLayoutAt(i).kind == ControlKind::kLabel) {
      Fill(canvas, x, y, w, h, 0xFF000000u | kLabelGround);
    } else if (const Picture& p = controls_[static_cast<size_t>(i)].picture) {
      Blit(canvas, *p, x, y);
    }
  }
}

}  // namespace platform
