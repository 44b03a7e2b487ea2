#include "platform/form.h"

#include "platform/toolkit.h"

namespace platform {

Form::Form(Toolkit& toolkit, const FormLayout& layout, FormEvents& events)
    : toolkit_(toolkit), layout_(layout), events_(events) {
  controls_.reserve(static_cast<size_t>(layout.controlCount));
  for (int i = 0; i < layout.controlCount; ++i) {
    const ControlLayout& c = layout.controls[i];
    controls_.push_back(ControlState{c.left, c.top, c.width, c.height, nullptr});
  }
}

int Form::ControlIndex(std::string_view name) const {
  for (int i = 0; i < layout_.controlCount; ++i) {
    if (layout_.controls[i].name == name) return i;
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
  for (int i = 0; i < layout_.controlCount; ++i) {
    const ControlLayout& c = layout_.controls[i];
    if (!c.picture.empty()) {
      controls_[static_cast<size_t>(i)].picture =
          toolkit_.platform().LoadResourcePicture(std::string(c.picture));
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
  Post({InputKind::kCaptureLost, 0, 0, 0, 0});
}
void Form::CloseRequested() {
  Post({InputKind::kClose, 0, 0, 0, 0});
}

void Form::Post(const Input& input) {
  pending_.push_back(input);
  if (toolkit_.Busy()) return;  // handled when the running handler is done
  while (!pending_.empty()) {
    const Input next = pending_.front();
    pending_.pop_front();
    if (toolkit_.Ended() || !loaded_) {
      pending_.clear();
      return;
    }
    Handle(next);
  }
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
  return i < 0 ? Pointer::kArrow : layout_.controls[i].pointer;
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
    if (layout_.controls[i].kind == ControlKind::kLabel) {
      Fill(canvas, x, y, w, h, 0xFFFFFFFFu);  // the label's white ground
    } else if (const Picture& p = controls_[static_cast<size_t>(i)].picture) {
      Blit(canvas, *p, x, y);
    }
  }
}

}  // namespace platform
