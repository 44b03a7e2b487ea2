// The window toolkit's form model, the portable half of the toolkit (the
// native half is the Platform's form calls). A form holds its controls front
// to back with their geometry in twips and their current pictures. It turns
// raw pointer input in client pixels into the control events that the menus
// handle (MouseDown, MouseMove, MouseUp, Click) with hit testing, mouse
// capture and coordinates in twips relative to the control, and passes keys
// and screen readers' requests on in the same queue; it tells which pointer
// shape each point shows, composites the window's frame, and holds what the
// native side shows of the keyboard focus and tells screen readers (which
// control has the focus, whether focus cues show, which control is under the
// pointer, the accessible items). What the events do, the focus order among
// them, is left to the form's FormEvents; running them one at a time and
// handling their errors is left to the Toolkit.
#pragma once

#include <cstdint>
#include <deque>
#include <span>
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
  std::string_view name = {};
  ControlKind kind = ControlKind::kImage;
  int left = 0, top = 0, width = 0, height = 0;  // twips, relative to the client area
  std::string_view picture = {};                 // built-in initial picture, "" for none
  Pointer pointer = Pointer::kArrow;
  std::string_view text = {};  // label text
};

struct FormLayout {
  std::string_view name = {};                    // "wizard"
  std::string_view caption = {};                 // title bar text
  int clientWidth = 0, clientHeight = 0;         // twips
  std::span<const ControlLayout> controls = {};  // front to back
  bool startForm = false;                        // the invisible start form: no native window
};

// The keys a menu window handles, as the native side names them to the form.
enum class Key : std::uint8_t { kTab, kUp, kDown, kEnter, kSpace, kEscape };
// Bits of the shift argument: 1 Shift, 2 Ctrl, 4 Alt.
constexpr int kShiftMask = 1;

// What a screen reader is told of one control, in the form's order.
enum class AccessibleRole : std::uint8_t { kPushButton, kStaticText };
struct AccessibleItem {
  int control;
  AccessibleRole role;
  std::string_view name;         // UTF-8
  std::string_view description;  // UTF-8, "" for none
};
// What changed, for the screen readers that listen.
enum class AccessEvent : std::uint8_t { kFocus, kStateChange };

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
  // A key pressed in the window; repeat: held down, the keyboard repeats it.
  virtual void KeyDown(Key /*key*/, int /*shift*/, bool /*repeat*/) {}
  // A screen reader asks for an accessible item's default action, or for
  // the keyboard focus on it.
  virtual void DefaultAction(int /*item*/) {}
  virtual void TakeFocus(int /*item*/) {}
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
  const ControlLayout& ControlLayoutAt(int control) const {
    return layout_.controls[static_cast<size_t>(control)];
  }
  const ControlState& Control(int control) const { return controls_[static_cast<size_t>(control)]; }
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
  // The pointer left the window: no control is under it.
  void PointerLeft();
  // A key pressed while the window has the keyboard.
  void KeyDown(Key key, int shift = 0, bool repeat = false);
  // A screen reader's requests for an accessible item.
  void DoDefaultAction(int item);
  void TakeFocus(int item);

  // The keyboard focus: a control, or -1. Moving it shows at once, and
  // screen readers are told.
  int FocusedControl() const { return focus_; }
  void SetFocusedControl(int control);
  // Focus cues (the focus rectangle) show once the keyboard has been used
  // in the window, as Windows does it; until then a mouse user sees none.
  bool KeyboardCues() const { return cues_; }
  void ShowKeyboardCues();
  // Where the focus rectangle is drawn: around the focused control, in
  // client pixels; false when none shows.
  bool FocusCue(int& x, int& y, int& w, int& h) const;

  // The items screen readers see, set once by the form's owner.
  void SetAccessibleItems(std::vector<AccessibleItem> items);
  std::span<const AccessibleItem> AccessibleItems() const { return accessible_; }
  // The item of a control, -1 for none; the item under a client pixel.
  int AccessibleItemOf(int control) const;
  int AccessibleItemAt(int px, int py) const;
  // Whether the pointer is over the item's control (hot tracking).
  bool AccessibleHot(int item) const;
  // The control under the pointer as last seen, -1 when it left.
  int HotControl() const { return hot_; }

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
  enum class InputKind : std::uint8_t {
    kMove,
    kDown,
    kUp,
    kCaptureLost,
    kClose,
    kKey,
    kDefaultAction,
    kTakeFocus
  };
  struct Input {
    InputKind kind;
    int button, px, py, shift;
  };
  void Post(const Input& input);
  void Handle(const Input& input);
  bool WantsCapture() const;
  void SyncCapture();
  void SetHot(int control);
  void Notify(AccessEvent event, int control);
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
  int focus_ = -1;
  bool cues_ = false;
  int hot_ = -1;
  std::vector<AccessibleItem> accessible_;
};

}  // namespace platform
