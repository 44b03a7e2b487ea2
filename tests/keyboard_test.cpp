// The keyboard and screen readers in every menu window: the focus order,
// that moving the focus and pressing Enter do exactly what the mouse does at
// a button's inside point, the focus cue, the mouse and keyboard together,
// and the accessible items with their states.
#include <gtest/gtest.h>

#include <algorithm>

#include "harness.h"

namespace {

using platform::Key;
using startup::Deliverable;
using testing_support::Harness;
using Calls = std::vector<std::string>;
using Names = std::vector<std::string>;

struct WindowCase {
  const char* name;
  Deliverable program;
  std::uint16_t language;
  Names order;  // the focus order, top to bottom
};
void PrintTo(const WindowCase& c, std::ostream* os) {
  *os << c.name;
}

const WindowCase kWindows[] = {
    {"modelmenu_en",
     Deliverable::kModelMenu,
     1033,
     {"imgManualInstallation", "imgDocumentation", "imgExit"}},
    {"modelmenu_zhCN",
     Deliverable::kModelMenu,
     2052,
     {"imgManualInstallation", "imgDocumentation", "imgExit"}},
    {"discmenu",
     Deliverable::kDiscMenu,
     1033,
     {"imgManualInstallation", "imgSetupWizard", "imgDocumentation", "imgHelp", "imgExit"}},
};

class Keyboard : public ::testing::TestWithParam<WindowCase> {
 protected:
  Harness h{GetParam().program};
  void SetUp() override {
    h.Start(GetParam().language);
    h.fake.Mark();
  }
  std::string Focused() {
    const int c = h.Form().FocusedControl();
    return c < 0 ? "(none)" : std::string(h.Form().ControlLayoutAt(c).name);
  }
  void Key(platform::Key key, int shift = 0) { h.Form().KeyDown(key, shift); }
};

INSTANTIATE_TEST_SUITE_P(EveryWindow, Keyboard, ::testing::ValuesIn(kWindows),
                         [](const auto& p) { return std::string(p.param.name); });

TEST_P(Keyboard, FocusGoesDownTheOrderAndUpAgainWrappingAtBothEnds) {
  const Names& order = GetParam().order;
  const size_t n = order.size();
  EXPECT_EQ(Focused(), "(none)");
  for (size_t i = 0; i < 2 * n; ++i) {
    Key(i % 2 ? Key::kDown : Key::kTab);
    EXPECT_EQ(Focused(), order[i % n]) << "step " << i;
  }
  for (size_t i = 0; i < 2 * n; ++i) {
    Key(i % 2 ? Key::kUp : Key::kTab, platform::kShiftMask);
    EXPECT_EQ(Focused(), order[(3 * n - 2 - i) % n]) << "back, step " << i;
  }
  // From no focus, backwards starts at the last.
  Harness fresh(GetParam().program);
  fresh.Start(GetParam().language);
  fresh.Form().KeyDown(Key::kUp);
  EXPECT_EQ(fresh.Form().ControlLayoutAt(fresh.Form().FocusedControl()).name, order.back());
}

TEST_P(Keyboard, MovingTheFocusHoversLikeThePointerOutsideTheOldButtonAndInsideTheNew) {
  // The same walk by the mouse, in a twin window: out of the old button at a
  // point left of and above it, into the new one at its inside point.
  Harness mouse(GetParam().program);
  mouse.Start(GetParam().language);
  mouse.fake.Mark();
  const Names& order = GetParam().order;
  std::string previous;
  for (size_t i = 0; i <= order.size(); ++i) {
    const std::string& next = order[i % order.size()];
    if (!previous.empty()) mouse.Move(previous, -15, -15);
    float x, y;
    mouse.Window().InsidePoint(mouse.Ctl(next), x, y);
    mouse.Move(next, x, y);
    previous = next;
    Key(Key::kTab);
  }
  EXPECT_EQ(h.fake.Since(), mouse.fake.Since());
  for (const std::string& control : order) EXPECT_EQ(h.Shows(control), mouse.Shows(control));
  for (const char* const flag : h.Window().table().flagNames) {
    EXPECT_EQ(h.Flag(flag), mouse.Flag(flag)) << flag;
  }
  EXPECT_FALSE(h.fake.Since().empty());
}

TEST_P(Keyboard, EnterAndSpaceAreALeftClickAtTheInsidePointWithEveryPlatformCall) {
  for (platform::Key key : {Key::kEnter, Key::kSpace}) {
    for (const std::string& control : GetParam().order) {
      Harness keys(GetParam().program), mouse(GetParam().program);
      keys.Start(GetParam().language);
      mouse.Start(GetParam().language);
      while (keys.Form().FocusedControl() != keys.Ctl(control)) keys.Form().KeyDown(Key::kTab);
      while (mouse.Form().FocusedControl() != mouse.Ctl(control)) mouse.Form().KeyDown(Key::kTab);
      keys.fake.Mark();
      mouse.fake.Mark();
      keys.Form().KeyDown(key);
      float x, y;
      mouse.Window().InsidePoint(mouse.Ctl(control), x, y);
      mouse.Down(control, x, y);
      mouse.Up(control, x, y);
      if (!mouse.toolkit.Ended()) mouse.Click(control);
      EXPECT_EQ(keys.fake.Since(), mouse.fake.Since()) << control;
      EXPECT_FALSE(keys.fake.Since().empty()) << control;
      EXPECT_EQ(keys.toolkit.Ended(), control == "imgExit") << control;
    }
  }
}

TEST(KeyboardActions, EnterOnTheInstallerStartsItUnderTheBusyCursor) {
  Harness h(Deliverable::kModelMenu);
  h.Start(2052);
  h.Form().KeyDown(Key::kTab);
  h.fake.Mark();
  h.Form().KeyDown(Key::kEnter);
  h.Form().KeyDown(Key::kEnter, 0, true);  // the key held: no second start
  const std::string dir = "setup\\images\\zhCN\\";
  EXPECT_EQ(
      h.fake.Since(),
      (Calls{"LoadCursorFromFileA setup\\images\\hourglas.ani", "SetCursor 77",
             "LoadPicture " + dir + "Windows-XP-Vista-7-1.gif",
             "Assign imgManualInstallation " + dir + "Windows-XP-Vista-7-1.gif", "SetCursor 1",
             "DestroyCursor 77", "LoadCursorFromFileA setup\\images\\hourglas.ani",
             "LoadPicture " + dir + "Windows-XP-Vista-7.gif",
             "Assign imgManualInstallation " + dir + "Windows-XP-Vista-7.gif", "SetCursor 77",
             "FormHandle",
             "ShellExecuteA 4660 open NV-QX480K\\setup\\utility\\NORVANE_Ondrix_Setup_2.exe "
             "[] [] 1",
             "SetCursor 1", "DestroyCursor 77"}));
  EXPECT_TRUE(h.fake.liveCursors.empty());
}

TEST(KeyboardActions, EnterWithoutTheBusyCursorEndsTheProgramAsAClickWould) {
  for (Deliverable program : {Deliverable::kModelMenu, Deliverable::kDiscMenu}) {
    Harness h(program);
    h.fake.RemoveFile(menu::kBusyCursor);
    h.Start();
    h.Form().KeyDown(Key::kTab);  // hovers need no cursor
    h.fake.Mark();
    h.Form().KeyDown(Key::kEnter);
    EXPECT_EQ(h.fake.Since(),
              (Calls{"LoadCursorFromFileA setup\\images\\hourglas.ani", "EndProgram"}));
    EXPECT_TRUE(h.fake.reported.empty());
  }
}

TEST(KeyboardActions, EscapeClosesTheWindowAndKeysWaitForNoDrag) {
  Harness h(Deliverable::kDiscMenu);
  h.Start();
  int px, py;
  h.PixelOf("imgDocumentation", 100, 100, px, py);
  h.Form().PointerDown(platform::kRightButton, px, py);  // a drag on model C
  h.fake.Mark();
  for (Key key : {Key::kTab, Key::kEnter, Key::kEscape}) h.Form().KeyDown(key);
  EXPECT_EQ(h.fake.Since(), Calls{});
  EXPECT_EQ(h.Form().FocusedControl(), -1);
  h.Form().PointerUp(platform::kRightButton, px, py);
  h.fake.Mark();
  h.Form().KeyDown(Key::kEnter);  // no focus: nothing to press
  h.Form().KeyDown(Key::kEscape);
  EXPECT_EQ(h.fake.Since(), (Calls{"UnloadForm wizard", "Quit"}));
}

TEST(MouseAndKeyboard, ALeftPressTakesTheFocusQuietlyAndTheKeysGoOnFromThere) {
  // A mouse user's session: every call as before, nothing drawn for the
  // focus, no cue; screen readers still hear where the focus went.
  Harness h(Deliverable::kDiscMenu);
  h.Start();
  int px, py;
  h.PixelOf("imgSetupWizard", 100, 100, px, py);
  h.fake.Mark();
  h.Form().PointerMove(px, py);
  h.Form().PointerDown(platform::kLeftButton, px, py);
  h.Form().PointerUp(platform::kLeftButton, px, py);
  const Calls mouseCalls = h.fake.Since();
  EXPECT_EQ(h.Form().FocusedControl(), h.Ctl("imgSetupWizard"));
  EXPECT_FALSE(h.Form().KeyboardCues());
  int x, y, w, hgt;
  EXPECT_FALSE(h.Form().FocusCue(x, y, w, hgt));
  EXPECT_EQ(std::count(h.fake.uiEvents.begin(), h.fake.uiEvents.end(), "focus drawn"), 0);
  EXPECT_EQ(std::count(h.fake.uiEvents.begin(), h.fake.uiEvents.end(), "focus 1"), 1);
  EXPECT_EQ(std::count(mouseCalls.begin(), mouseCalls.end(),
                       "ShellExecuteA 4660 open NV-QX120E_NV-QX120K\\autorun2.exe [] [] 1"),
            1);
  // A right press does not take it.
  h.PixelOf("imgHelp", 100, 100, px, py);
  h.Form().PointerDown(platform::kRightButton, px, py);
  h.Form().PointerUp(platform::kRightButton, px, py);
  EXPECT_EQ(h.Form().FocusedControl(), h.Ctl("imgSetupWizard"));
  // Tab goes on from the pressed button: B is left as the pointer leaves it.
  h.fake.Mark();
  h.Form().KeyDown(Key::kTab);
  EXPECT_EQ(h.Form().FocusedControl(), h.Ctl("imgDocumentation"));
  EXPECT_TRUE(h.Form().FocusCue(x, y, w, hgt));
  EXPECT_EQ(h.Shows("imgSetupWizard"), "setup\\images\\enUS\\NV-QX120K-grey.gif");
  EXPECT_EQ(h.Shows("imgDocumentation"), "setup\\images\\enUS\\NV-QX480K-blue.gif");
}

TEST(MouseAndKeyboard, TheFocusCueShowsOnlyOnceTheKeyboardIsUsedAroundTheFocusedButton) {
  Harness h(Deliverable::kModelMenu);
  h.Start();
  int x, y, w, hgt;
  EXPECT_FALSE(h.Form().FocusCue(x, y, w, hgt));
  h.Form().KeyDown(Key::kTab);
  ASSERT_TRUE(h.Form().FocusCue(x, y, w, hgt));
  int cx, cy, cw, ch;
  h.Form().PixelRect(h.Ctl("imgManualInstallation"), cx, cy, cw, ch);
  EXPECT_EQ(std::vector<int>({x, y, w, hgt}), std::vector<int>({cx - 2, cy - 2, cw + 4, ch + 4}));
  EXPECT_EQ(h.fake.uiEvents.front(), "cues shown");
  const auto drawn = std::count(h.fake.uiEvents.begin(), h.fake.uiEvents.end(), "focus drawn");
  EXPECT_GE(drawn, 1);
}

TEST(Accessible, EachWindowOffersItsButtonsInFocusOrderAndItsLabel) {
  struct Item {
    std::string control, name;
    platform::AccessibleRole role;
  };
  using R = platform::AccessibleRole;
  struct Case {
    Deliverable program;
    std::uint16_t language;
    std::vector<Item> items;
  };
  const Case cases[] = {
      {Deliverable::kModelMenu,
       1033,
       {{"imgManualInstallation", "Windows XP/Vista/7/8", R::kPushButton},
        {"imgDocumentation", "Documentation", R::kPushButton},
        {"imgExit", "Exit", R::kPushButton},
        {"Label1", "V 2.0", R::kStaticText}}},
      {Deliverable::kModelMenu,
       2052,
       {{"imgManualInstallation", "Windows XP/Vista/7/8", R::kPushButton},
        {"imgDocumentation", "用户手册", R::kPushButton},
        {"imgExit", "退出", R::kPushButton},
        {"Label1", "V 2.0", R::kStaticText}}},
      {Deliverable::kDiscMenu,
       1033,
       {{"imgManualInstallation", "NV-QX120E", R::kPushButton},
        {"imgSetupWizard", "NV-QX120K", R::kPushButton},
        {"imgDocumentation", "NV-QX480K", R::kPushButton},
        {"imgHelp", "NV-WQX640K", R::kPushButton},
        {"imgExit", "Exit", R::kPushButton}}},
  };
  for (const Case& c : cases) {
    Harness h(c.program);
    h.Start(c.language);
    const auto items = h.Form().AccessibleItems();
    ASSERT_EQ(items.size(), c.items.size()) << c.language;
    for (size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(h.Form().ControlLayoutAt(items[i].control).name, c.items[i].control);
      EXPECT_EQ(items[i].name, c.items[i].name);
      EXPECT_EQ(items[i].role, c.items[i].role);
      // Every button says what it does; a label is just its text.
      EXPECT_EQ(items[i].description.empty(), c.items[i].role == R::kStaticText)
          << c.items[i].control;
    }
  }
  Harness h(Deliverable::kModelMenu);
  h.Start(2052);
  EXPECT_EQ(h.Form().AccessibleItems()[1].description,
            "用户手册。打开光盘上的 NV-QX480K 用户手册（英文版）。");
}

TEST(Accessible, FocusAndHotStatesFollowTheKeyboardAndThePointerAndTellScreenReaders) {
  Harness h(Deliverable::kDiscMenu);
  h.Start();
  auto& form = h.Form();
  int px, py;
  h.PixelOf("imgDocumentation", 150, 150, px, py);
  form.PointerMove(px, py);
  EXPECT_TRUE(form.AccessibleHot(2));
  EXPECT_EQ(form.AccessibleItemAt(px, py), 2);
  h.PixelOf("Image8", 10, 10, px, py);
  form.PointerMove(px, py);  // a reset zone is no item
  EXPECT_FALSE(form.AccessibleHot(2));
  EXPECT_EQ(form.AccessibleItemAt(px, py), -1);
  form.KeyDown(Key::kTab);
  form.KeyDown(Key::kTab);
  EXPECT_EQ(form.AccessibleItemOf(form.FocusedControl()), 1);
  form.PointerLeft();
  // clang-format off
  const std::vector<std::string> expected = {
      "state 2", "state 2",                               // the pointer onto model C and off
      "cues shown",                                       // the first Tab
      "focus drawn", "state 0", "focus 0",                // A focused
      "focus drawn", "state 0", "state 1", "focus 1"};    // the second Tab: A to B
  // clang-format on
  EXPECT_EQ(h.fake.uiEvents, expected);
}

TEST(Accessible, ADefaultActionFocusesTheButtonAndPressesItAsEnterDoes) {
  Harness viaReader(Deliverable::kDiscMenu), viaKeys(Deliverable::kDiscMenu);
  viaReader.Start();
  viaKeys.Start();
  viaReader.fake.Mark();
  viaKeys.fake.Mark();
  viaReader.Form().DoDefaultAction(2);  // NV-QX480K
  for (int i = 0; i < 3; ++i) viaKeys.Form().KeyDown(Key::kTab);
  viaKeys.Form().KeyDown(Key::kEnter);
  // Tab visits A and B first; what stays is C lit by focus, then clicked.
  const Calls reader = viaReader.fake.Since();
  const Calls keys = viaKeys.fake.Since();
  ASSERT_GE(keys.size(), reader.size());
  EXPECT_EQ(reader, Calls(keys.end() - static_cast<std::ptrdiff_t>(reader.size()), keys.end()));
  EXPECT_EQ(std::count(reader.begin(), reader.end(),
                       "ShellExecuteA 4660 open NV-QX480K\\autorun3.exe [] [] 1"),
            1);
  EXPECT_FALSE(viaReader.Form().KeyboardCues());  // no key was pressed
  // The label has no action; an item out of range is refused.
  viaReader.fake.Mark();
  Harness menu(Deliverable::kModelMenu);
  menu.Start();
  menu.fake.Mark();
  menu.Form().DoDefaultAction(3);
  menu.Form().DoDefaultAction(99);
  menu.Form().TakeFocus(1);
  EXPECT_EQ(menu.Form().FocusedControl(), menu.Ctl("imgDocumentation"));
  EXPECT_EQ(menu.fake.Since(), (Calls{"LoadPicture setup\\images\\documentationhelp.gif",
                                      "Assign imgHelp setup\\images\\documentationhelp.gif"}));
}

}  // namespace
