// The toolkit's form model: hit testing, coordinates, mouse capture, clicks,
// pointer shapes, the picture size rule, event order and compositing.
#include <gtest/gtest.h>

#include <functional>

#include "fake_platform.h"
#include "platform/command_line.h"
#include "platform/form.h"
#include "platform/toolkit.h"

namespace {

using platform::ControlKind;
using platform::ControlLayout;
using platform::FormLayout;
using platform::kLeftButton;
using platform::kMiddleButton;
using platform::kRightButton;
using platform::Pointer;
using Events = std::vector<std::string>;

// Front to back: a label, two overlapping buttons (one at a left that is not
// a whole pixel), a zone and the background.
// clang-format off
constexpr ControlLayout kControls[] = {
    {.name = "Label1", .kind = ControlKind::kLabel, .left = 1500, .top = 1500, .width = 300, .height = 150, .text = "V 2.0"},
    {.name = "front", .kind = ControlKind::kImage, .left = 565, .top = 300, .width = 600, .height = 300, .pointer = Pointer::kHand},
    {.name = "back", .kind = ControlKind::kImage, .left = 300, .top = 300, .width = 1500, .height = 600, .pointer = Pointer::kHand},
    {.name = "zone", .kind = ControlKind::kImage, .left = 300, .top = 1200, .width = 600, .height = 75},
    {.name = "OLE1", .kind = ControlKind::kBackground, .left = 0, .top = 0, .width = 3000, .height = 3000},
};
// clang-format on
constexpr FormLayout kLayout = {.name = "test",
                                .caption = "Test",
                                .clientWidth = 3000,
                                .clientHeight = 2985,
                                .controls = kControls};

class Recorder : public platform::FormEvents {
 public:
  Events events;
  platform::Form* form = nullptr;
  std::function<void()> onDown;
  std::function<void()> onUp;
  void Load() override { events.push_back("Load"); }
  void MouseDown(int c, int b, int, float x, float y) override {
    Add("Down", c, b, x, y);
    if (onDown) onDown();
  }
  void MouseMove(int c, int b, int, float x, float y) override { Add("Move", c, b, x, y); }
  void MouseUp(int c, int b, int, float x, float y) override {
    Add("Up", c, b, x, y);
    if (onUp) onUp();
  }
  void Click(int c) override { events.push_back("Click " + Name(c)); }

 private:
  std::string Name(int c) const { return std::string(kControls[c].name); }
  void Add(const char* what, int c, int b, float x, float y) {
    events.push_back(std::string(what) + " " + Name(c) + " " + std::to_string(b) + " " +
                     std::to_string(static_cast<int>(x)) + "," +
                     std::to_string(static_cast<int>(y)));
  }
};

class FormTest : public ::testing::Test {
 protected:
  testing_support::FakePlatform fake;
  platform::Toolkit toolkit{fake};
  Recorder rec;
  platform::Form form{toolkit, kLayout, rec};
  void SetUp() override {
    rec.form = &form;
    toolkit.Run([&] { toolkit.Show(form); });
    rec.events.clear();
  }
};

TEST_F(FormTest, HitTestingIsFrontToBackWithTwipsRelativeToTheControl) {
  form.PointerMove(38, 20);    // 570 twips: 5 twips into "front", which starts at 565
  form.PointerMove(37, 20);    // 555: left of "front", inside "back"
  form.PointerMove(100, 20);   // beyond "front" (ends at 1165)
  form.PointerMove(20, 20);    // the first pixel of "back"
  form.PointerMove(5, 5);      // background
  form.PointerMove(105, 105);  // label over the background
  EXPECT_EQ(rec.events, (Events{"Move front 0 5,0", "Move back 0 255,0", "Move back 0 1200,0",
                                "Move back 0 0,0", "Move OLE1 0 75,75", "Move Label1 0 75,75"}));
  EXPECT_EQ(form.HitTest(200, 5), -1);  // outside the client area
}

TEST_F(FormTest, APressedControlGetsEveryMoveAndTheReleaseWherever) {
  form.PointerDown(kLeftButton, 40, 21);
  form.PointerMove(10, 5);    // outside, up and left: negative coordinates
  form.PointerMove(150, 90);  // beyond its size
  form.PointerUp(kLeftButton, 150, 90);
  form.PointerMove(150, 90);  // no capture any more: the background
  EXPECT_EQ(rec.events,
            (Events{"Down front 1 35,15", "Move front 1 -415,-225", "Move front 1 1685,1050",
                    "Up front 1 1685,1050", "Move OLE1 0 2250,1350"}));
  EXPECT_FALSE(form.Captured());
}

TEST_F(FormTest, ClickIsALeftPressAndReleaseOnTheSameControl) {
  struct Case {
    int button;
    int upX;  // release pixel
    Events expected;
  };
  const Case cases[] = {
      {kLeftButton, 41, {"Down front 1 35,15", "Up front 1 50,15", "Click front"}},
      {kLeftButton, 30, {"Down front 1 35,15", "Up front 1 -115,15"}},  // released on "back"
      {kRightButton, 41, {"Down front 2 35,15", "Up front 2 50,15"}},
      {kMiddleButton, 41, {"Down front 4 35,15", "Up front 4 50,15"}},
  };
  for (const Case& c : cases) {
    rec.events.clear();
    form.PointerDown(c.button, 40, 21);
    form.PointerUp(c.button, c.upX, 21);
    EXPECT_EQ(rec.events, c.expected) << "button " << c.button << " up at " << c.upX;
  }
}

TEST_F(FormTest, CaptureLastsUntilTheLastButtonIsUp) {
  form.PointerDown(kLeftButton, 40, 21);
  form.PointerDown(kRightButton, 100, 100);  // second button: still the pressed control
  form.PointerUp(kLeftButton, 100, 100);
  form.PointerMove(100, 100);
  form.PointerUp(kRightButton, 100, 100);
  form.PointerUp(kRightButton, 100, 100);  // a release without its press is dropped
  EXPECT_EQ(rec.events,
            (Events{"Down front 1 35,15", "Down front 2 935,1200", "Up front 1 935,1200",
                    "Move front 2 935,1200", "Up front 2 935,1200"}));
}

TEST_F(FormTest, LostCaptureEndsTheDragWithoutARelease) {
  form.PointerDown(kLeftButton, 40, 21);
  form.CaptureLost();
  form.PointerUp(kLeftButton, 40, 21);
  form.PointerMove(5, 5);
  EXPECT_EQ(rec.events, (Events{"Down front 1 35,15", "Move OLE1 0 75,75"}));
}

TEST_F(FormTest, PointerShapeFollowsTheControlUnderThePoint) {
  EXPECT_EQ(form.PointerAt(40, 21), Pointer::kHand);
  EXPECT_EQ(form.PointerAt(90, 50), Pointer::kHand);     // "back"
  EXPECT_EQ(form.PointerAt(25, 80), Pointer::kArrow);    // zone
  EXPECT_EQ(form.PointerAt(101, 101), Pointer::kArrow);  // label
  EXPECT_EQ(form.PointerAt(150, 150), Pointer::kArrow);  // background
}

TEST_F(FormTest, AssignedPictureSizesTheControlFromItsCorner) {
  fake.AddPicture("p.gif", 10, 4);
  const int front = form.ControlIndex("front");
  form.SetPicture(front, fake.LoadPicture("p.gif"));
  EXPECT_EQ(form.Control(front).left, 565);
  EXPECT_EQ(form.Control(front).width, 150);
  EXPECT_EQ(form.Control(front).height, 60);
  form.SetPicture(front, nullptr);  // the empty picture keeps the size
  EXPECT_EQ(form.Control(front).width, 150);
  EXPECT_EQ(form.HitTest(48, 21), form.ControlIndex("back"));  // 720 twips: past the new edge
}

TEST_F(FormTest, InputDuringAHandlerWaitsForItsEnd) {
  // A handler that lets messages through (as a shell call may) must not see
  // the next event start inside it.
  rec.onDown = [&] {
    rec.onDown = nullptr;
    form.PointerUp(kLeftButton, 40, 21);
    rec.events.push_back("end of Down");
  };
  form.PointerDown(kLeftButton, 40, 21);
  EXPECT_EQ(rec.events,
            (Events{"Down front 1 35,15", "end of Down", "Up front 1 35,15", "Click front"}));
}

TEST_F(FormTest, APressThatWaitsForAHandlerHoldsTheMouseUntilItsRelease) {
  // A click's release handler lets the next press through (as the shell
  // may); that press is released outside the window.
  rec.onUp = [&] {
    rec.onUp = nullptr;
    form.PointerDown(kLeftButton, 40, 21);
    EXPECT_TRUE(fake.mouseCaptured) << "the waiting press holds the mouse at once";
  };
  form.PointerDown(kLeftButton, 40, 21);
  EXPECT_TRUE(fake.mouseCaptured);
  form.PointerUp(kLeftButton, 40, 21);
  EXPECT_TRUE(form.Captured());
  EXPECT_TRUE(fake.mouseCaptured);
  form.PointerUp(kLeftButton, -30, -30);
  EXPECT_FALSE(form.Captured());
  EXPECT_FALSE(fake.mouseCaptured);
  form.PointerMove(5, 5);
  EXPECT_EQ(rec.events,
            (Events{"Down front 1 35,15", "Up front 1 35,15", "Click front", "Down front 1 35,15",
                    "Up front 1 -1015,-750", "Move OLE1 0 75,75"}));
}

TEST_F(FormTest, TheWindowHoldsTheMouseExactlyWhileTheFormsDragLastsWhateverTheOrder) {
  struct Case {
    const char* what;
    std::function<void()> duringHandler;  // input that arrives while a handler runs
    bool dragAfter;
  };
  auto anotherWindowTakesTheMouse = [&] {
    fake.mouseCaptured = false;
    form.CaptureLost();
  };
  const Case cases[] = {
      {"a press", [&] { form.PointerDown(kLeftButton, 40, 21); }, true},
      {"a press and its release",
       [&] {
         form.PointerDown(kLeftButton, 40, 21);
         form.PointerUp(kLeftButton, 300, 300);
       },
       false},
      {"a press, then another window takes the mouse",
       [&] {
         form.PointerDown(kLeftButton, 40, 21);
         anotherWindowTakesTheMouse();
       },
       false},
      {"two buttons pressed, one released",
       [&] {
         form.PointerDown(kLeftButton, 40, 21);
         form.PointerDown(kRightButton, 40, 21);
         form.PointerUp(kLeftButton, 40, 21);
       },
       true},
  };
  for (const Case& c : cases) {
    rec.onUp = [&] {
      rec.onUp = nullptr;
      c.duringHandler();
    };
    form.PointerDown(kMiddleButton, 40, 21);
    form.PointerUp(kMiddleButton, 40, 21);
    EXPECT_EQ(form.Captured(), c.dragAfter) << c.what;
    EXPECT_EQ(fake.mouseCaptured, c.dragAfter) << c.what;
    anotherWindowTakesTheMouse();  // ends any drag for the next case
    EXPECT_FALSE(form.Captured() || fake.mouseCaptured) << c.what;
  }
}

TEST_F(FormTest, RenderDrawsBackToFrontWithTransparency) {
  auto solid = [](int w, int h, std::uint32_t argb) {
    auto img = std::make_shared<platform::Image>();
    img->width = w;
    img->height = h;
    img->pixels.assign(static_cast<size_t>(w * h), argb);
    return img;
  };
  form.SetPicture(form.ControlIndex("OLE1"), solid(200, 199, 0xFF808080u));
  form.SetPicture(form.ControlIndex("back"), solid(4, 4, 0xFF0000FFu));
  auto holed = std::make_shared<platform::Image>(*solid(4, 4, 0xFFFF0000u));
  holed->pixels[0] = 0x00000000u;  // the transparent colour
  form.SetPicture(form.ControlIndex("front"), holed);
  std::vector<std::uint32_t> frame(200 * 199);
  platform::Canvas canvas{200, 199, frame.data()};
  form.Render(canvas);
  auto at = [&](int x, int y) { return frame[static_cast<size_t>(y * 200 + x)]; };
  EXPECT_EQ(at(0, 0), 0xFF808080u);
  EXPECT_EQ(at(20, 20), 0xFF0000FFu);  // "back" at its top-left pixel
  EXPECT_EQ(at(38, 20), 0xFF808080u);  // "front" starts at pixel 38 with its hole
  EXPECT_EQ(at(39, 20), 0xFFFF0000u);
  EXPECT_EQ(at(38, 21), 0xFFFF0000u);
  EXPECT_EQ(frame[20 * 200 + 37], 0xFF808080u);  // between the two
  EXPECT_EQ(at(100, 100), 0xFFFFFFFFu);          // the label's white ground
}

TEST(Label, TextTakesTheSystemColourOnlyWhereItCanBeReadOnTheWhiteGround) {
  const std::uint32_t cases[][2] = {
      // system text colour, what the label is drawn in
      {0x000000, 0x000000},  // the standard schemes
      {0x1F2937, 0x1F2937},  // a dark grey reads well
      {0x767676, 0x767676},  // the lightest grey that still reaches 4.5 to 1
      {0x777777, 0x000000},  // just below it
      {0xFFFFFF, 0x000000},  // dark high contrast: white on white would vanish
      {0xFFFF00, 0x000000},  // yellow, another high-contrast text
      {0x00FF00, 0x000000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::LabelTextColour(c[0]), c[1]) << std::hex << c[0];
  }
}

TEST_F(FormTest, RenderShowsTheTransparentColourAsWhatLiesBehind) {
  auto img = std::make_shared<platform::Image>();
  img->width = 2;
  img->height = 1;
  img->pixels = {0x00123456u, 0xFF00FF00u};
  auto ground = std::make_shared<platform::Image>();
  ground->width = 200;
  ground->height = 199;
  ground->pixels.assign(200 * 199, 0xFF101010u);
  form.SetPicture(form.ControlIndex("OLE1"), ground);
  form.SetPicture(form.ControlIndex("zone"), img);
  std::vector<std::uint32_t> frame(200 * 199);
  platform::Canvas canvas{200, 199, frame.data()};
  form.Render(canvas);
  EXPECT_EQ(frame[80 * 200 + 20], 0xFF101010u);
  EXPECT_EQ(frame[80 * 200 + 21], 0xFF00FF00u);
}

}  // namespace

namespace {

TEST(CommandLine, TheFirstWordIsTheProgramAndABareNameIsKnown) {
  struct Case {
    const char* line;
    const char* program;
    bool bare;
  };
  const Case cases[] = {
      {"explorer.exe /n,/e, .\\NV-QX480K\\Manual", "explorer.exe", true},
      {"  explorer.exe", "explorer.exe", true},
      {".\\explorer.exe /n", ".\\explorer.exe", false},
      {"NV-QX480K\\autorun3.exe", "NV-QX480K\\autorun3.exe", false},
      {"C:explorer.exe", "C:explorer.exe", false},
      {"\"C:\\Program Files\\x.exe\" /a", "C:\\Program Files\\x.exe", false},
      {"\"explorer.exe\" /n", "explorer.exe", true},
      {"\"unterminated", "unterminated", true},
      {"", "", false},
      {"..", "..", false},
  };
  for (const Case& c : cases) {
    const platform::CommandLine parsed = platform::ParseCommandLine(c.line);
    EXPECT_EQ(parsed.program, c.program) << c.line;
    EXPECT_EQ(parsed.bareName, c.bare) << c.line;
  }
}

}  // namespace
