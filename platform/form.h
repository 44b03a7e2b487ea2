// The window toolkit's form model, the portable half of the toolkit (the
// native half is the Platform's form calls). A form holds its controls front
// to back with their geometry in twips and their current pictures. It turns
// raw pointer input in client pixels into the control events that the menus
// handle (MouseDown, MouseMove, MouseUp, Click) with hit testing, mouse
// capture and coordinates in twips relative to the control; it tells which
// pointer shape each point shows, and composites the window's frame. What
// the events do is left to the form's FormEvents; running them one at a time
// and handling their errors is left to the Toolkit.
#pragma once

#include <cstdint>
#include <deque>
#include <string_view>
#include <vector>

#include "platform/image.h"

namespace platform {

class Toolkit;
class Form;

constexpr int kTwipsPerPixel = 15;

// Mouse button bits of the events; Button of MouseMove is the set held.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

enum class ControlKind : std::uint8_t { kImage, kLabel, kBackground };
enum class Pointer : std::uint8_t { kArrow, kHand };

struct ControlLayout {
  std::string_view name;
  ControlKind kind;
  int left, top, width, height;  // twips, relative to the client area
  std::string_view picture;      // built-in initial picture, "" for none
  Pointer pointer;
  std::string_view text;  // label text
};

struct FormLayout {
  std::string_view name;          // "wizard"
  std::string_view caption;       // title bar text
  int clientWidth, clientHeight;  // twips
  const ControlLayout* controls;  // front to back
  int controlCount;
  bool startForm;  // the invisible start form: no native window
};

// First whole pixel at or after a twips coordinate: the pixel grid that
// both hit testing and drawing use, so what is drawn is what is hit.
constexpr int TwipsToPixel(int twips) {
  return twips >= 0 ? (twips + kTwipsPerPixel - 1) / kTwipsPerPixel : -((-twips) / kTwipsPerPixel);
}

// The form's event handlers. A form without a handler for an event does
// nothing for it.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  virtual void Load() {}
  virtual void MouseDown(int /*control*/, int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {
  }
  virtual void MouseMove(int /*control*/, int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {
  }
  virtual void MouseUp(int /*control*/, int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {}
  virtual void Click(int /*control*/) {}
};

struct ControlState {
  int left, top, width, height;  // twips
  Picture picture;
};

// A label's white ground and the colour of its text: the system's text
// colour (0xRRGGBB) where it can be read on white, otherwise black, so that
// no colour scheme makes the label vanish.
constexpr std::uint32_t kLabelGround = 0xFFFFFFu;
std::uint32_t LabelTextColour(std::uint32_t systemText);

class Form {
 public:
  Form(Toolkit& toolkit, const FormLayout& layout, FormEvents& events);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const FormLayout& layout() const { return layout_; }
  FormEvents& events() { return events_; }
  Toolkit& toolkit() { return toolkit_; }
  int ClientWidthPixels() const { return layout_.clientWidth / kTwipsPerPixel; }
  int ClientHeightPixels() const { return layout_.clientHeight / kTwipsPerPixel; }

  // Index of a control by name; -1 when the form has none of that name.
  int ControlIndex(std::string_view name) const;
  const ControlLayout& ControlLayoutAt(int control) const { return layout_.controls[control]; }
  const ControlState& Control(int control) const { return controls_[control]; }
  int ControlCount() const { return static_cast<int>(controls_.size()); }

  // Puts a picture into an image control. The control takes the picture's
  // size and keeps its top-left corner; the empty picture keeps the size.
  void SetPicture(int control, Picture picture);

  // Loads the built-in initial pictures; done by the toolkit on load.
  void LoadInitialPictures();

  // Raw pointer input, in pixels relative to the client area. Input that
  // arrives while an event handler runs is held and handled after it.
  void PointerMove(int px, int py, int shift = 0);
  void PointerDown(int button, int px, int py, int shift = 0);
  void PointerUp(int button, int px, int py, int shift = 0);
  // Another window took the mouse from the form's window: the drag ends
  // without a release event.
  void CaptureLost();
  // The user closed the window: it unloads like the exit button.
  void CloseRequested();

  // True while a control holds the mouse (from a press until the last
  // button is up). The native window holds the mouse as long as this or a
  // press still waiting to be handled needs it (SetMouseCapture).
  bool Captured() const { return capture_ >= 0; }
  int CaptureControl() const { return capture_; }
  int HeldButtons() const { return held_; }

  // Front-most control under a client pixel, -1 for none.
  int HitTest(int px, int py) const;
  // The pointer shape that a client pixel shows.
  Pointer PointerAt(int px, int py) const;

  // Draws the background and every picture back to front, and the labels'
  // ground; the label text is drawn by the native side over it, in one
  // line and in LabelTextColour.
  void Render(Canvas& canvas) const;
  // Pixel rectangle of a control on the form.
  void PixelRect(int control, int& x, int& y, int& w, int& h) const;

  bool Loaded() const { return loaded_; }
  void SetLoaded(bool loaded) { loaded_ = loaded; }

 private:
  enum class InputKind : std::uint8_t { kMove, kDown, kUp, kCaptureLost, kClose };
  struct Input {
    InputKind kind;
    int button, px, py, shift;
  };
  void Post(const Input& input);
  void Handle(const Input& input);
  bool WantsCapture() const;
  void SyncCapture();
  float LocalX(int control, int px) const;
  float LocalY(int control, int py) const;

  Toolkit& toolkit_;
  const FormLayout& layout_;
  FormEvents& events_;
  std::vector<ControlState> controls_;
  std::deque<Input> pending_;
  bool loaded_ = false;
  int capture_ = -1;            // control that holds the mouse
  int held_ = 0;                // mouse buttons held since the capture began
  int leftDownOn_ = -1;         // control that the left button went down on
  bool nativeCapture_ = false;  // what the form last asked of its window
};

}  // namespace platform
