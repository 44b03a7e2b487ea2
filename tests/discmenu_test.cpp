// The model chooser: highlight by hover, reset zones, the four states of a
// model button, the exit button, starting the models' programs.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "harness.h"

namespace {

using startup::Deliverable;
using testing_support::Harness;
using Calls = std::vector<std::string>;

const std::string kGrey[] = {
    "setup\\images\\enUS\\NV-QX120E-grey.gif", "setup\\images\\enUS\\NV-QX120K-grey.gif",
    "setup\\images\\enUS\\NV-QX480K-grey.gif", "setup\\images\\enUS\\NV-WQX640K-grey.gif"};
const std::string kBlue[] = {
    "setup\\images\\enUS\\NV-QX120E-blue.gif", "setup\\images\\enUS\\NV-QX120K-blue.gif",
    "setup\\images\\enUS\\NV-QX480K-blue.gif", "setup\\images\\enUS\\NV-WQX640K-blue.gif"};
const std::string kModel[] = {"imgManualInstallation", "imgSetupWizard", "imgDocumentation",
                              "imgHelp"};
const std::string kLit[] = {"litModelA", "litModelB", "litModelC", "litModelD"};
const std::string kExitGrey = "setup\\images\\enUS\\NV-EXIT-grey.gif";
const std::string kExitBlue = "setup\\images\\enUS\\NV-EXIT-blue.gif";
const std::string kBusy = "LoadCursorFromFileA setup\\images\\hourglas.ani";
const std::string kPrograms[] = {"NV-QX120E_NV-QX120K\\autorun2.exe",
                                 "NV-QX120E_NV-QX120K\\autorun2.exe", "NV-QX480K\\autorun3.exe",
                                 "NV-WQX640K\\autorun4.exe"};

std::string Start(const std::string& program) {
  return "ShellExecuteA 4660 open " + program + " [] [] 1";
}

class Chooser : public ::testing::Test {
 protected:
  Harness h{Deliverable::kDiscMenu};
  void SetUp() override {
    h.Start();
    h.fake.Mark();
  }
  int LitSum() {
    int sum = 0;
    for (const std::string& f : kLit) sum += h.Flag(f);
    return sum;
  }
  // Moves the real pointer pixel by pixel, as a hand would.
  void Drag(int x0, int y0, int x1, int y1) {
    const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i <= steps; ++i) {
      h.Form().PointerMove(x0 + (x1 - x0) * i / std::max(steps, 1),
                           y0 + (y1 - y0) * i / std::max(steps, 1));
    }
  }
  size_t Count(const std::string& call) {
    const Calls c = h.fake.Since();
    return static_cast<size_t>(std::count(c.begin(), c.end(), call));
  }
};

TEST_F(Chooser, MovingFromAAcrossTheirZoneIntoBHandsTheHighlightOver) {
  Drag(450, 215, 450, 238);  // inside A
  EXPECT_EQ(h.Shows(kModel[0]), kBlue[0]);
  EXPECT_EQ(Count("LoadPicture " + kBlue[0]), 1u);  // moving within loads nothing more
  Drag(450, 238, 450, 244);                         // onto Image7, between A and B
  EXPECT_EQ(h.Shows(kModel[0]), kGrey[0]);
  EXPECT_EQ(h.Shows(kModel[1]), kGrey[1]);
  EXPECT_EQ(LitSum(), 0);
  Drag(450, 244, 450, 265);  // into B
  EXPECT_EQ(h.Shows(kModel[1]), kBlue[1]);
  EXPECT_EQ(h.Flag("litModelB"), 1);
  EXPECT_EQ(LitSum(), 1);
  EXPECT_EQ(h.Form().PointerAt(450, 265), platform::Pointer::kHand);
  EXPECT_EQ(h.Form().PointerAt(450, 244), platform::Pointer::kArrow);
}

struct ZoneCase {
  const char* zone;
  std::vector<int> resetModels;  // models put back, in order; -1 = exit
};

TEST_F(Chooser, EachZoneClearsItsFlagsThenPutsItsNeighboursBackInOrder) {
  const ZoneCase cases[] = {
      {"Image1", {0, 1}}, {"Image2", {2, 3}}, {"Image3", {0, 1}}, {"Image4", {2, 3}},
      {"Image5", {0}},    {"Image6", {3}},    {"Image7", {0, 1}}, {"Image8", {1, 2}},
      {"Image9", {2, 3}}, {"Image10", {-1}},  {"Image11", {-1}},  {"Image12", {-1}},
      {"Image13", {-1}},
  };
  for (const ZoneCase& c : cases) {
    Harness x(Deliverable::kDiscMenu);
    x.Start();
    x.Move("imgExit", 5, 5);                              // exit lit
    for (int m = 0; m < 4; ++m) x.Move(kModel[m], 5, 5);  // all four lit, D's flag set
    x.fake.Mark();
    x.Move(c.zone, -3, 9999);  // zones test no point
    Calls expected;
    for (int m : c.resetModels) {
      const std::string& grey = m < 0 ? kExitGrey : kGrey[m];
      expected.push_back("LoadPicture " + grey);
      expected.push_back("Assign " + (m < 0 ? std::string("imgExit") : kModel[m]) + " " + grey);
    }
    EXPECT_EQ(x.fake.Since(), expected) << c.zone;
    const bool exitZone = c.resetModels[0] < 0;
    EXPECT_EQ(x.Flag("litModelD"), exitZone ? 1 : 0) << c.zone;
    EXPECT_EQ(x.Flag("litExit"), exitZone ? 0 : 1) << c.zone;
    for (int m = 0; m < 4; ++m) {
      const bool reset = std::count(c.resetModels.begin(), c.resetModels.end(), m) > 0;
      EXPECT_EQ(x.Shows(kModel[m]), reset ? kGrey[m] : kBlue[m]) << c.zone << " model " << m;
    }
  }
}

// One step of a script: a control event given by letter.
struct Step {
  char kind;  // 'm' move, 'd' press, 'u' release
  std::string control;
  float x, y;
  int button;
};

struct StateCase {
  const char* what;
  std::vector<Step> steps;
  bool highlighted;  // model C's picture
  int flag;          // litModelC
};

TEST_F(Chooser, ModelButtonStatesFollowPictureAndFlag) {
  const Step hoverC = {'m', kModel[2], 5, 5, 0};
  const Step releaseC = {'u', kModel[2], 5, 5, platform::kLeftButton};
  const Step pressC = {'d', kModel[2], 5, 5, platform::kLeftButton};
  const StateCase cases[] = {
      {"own hover", {hoverC}, true, 1},
      {"release after hover", {hoverC, releaseC}, false, 1},
      {"hover after release stays normal", {hoverC, releaseC, hoverC}, false, 1},
      {"another model's hover", {hoverC, {'m', kModel[3], 5, 5, 0}}, true, 0},
      {"zone that names it", {hoverC, {'m', "Image8", 0, 0, 0}}, false, 0},
      {"zone that does not name it", {hoverC, {'m', "Image7", 0, 0, 0}}, true, 0},
      {"exit hover", {hoverC, {'m', "imgExit", 5, 5, 0}}, true, 0},
      {"hover again after the flag was cleared",
       {hoverC, {'m', kModel[3], 5, 5, 0}, hoverC},
       true,
       1},
      {"press from normal, flag 0", {pressC}, true, 0},
      {"press from normal, flag 1", {hoverC, releaseC, pressC}, true, 1},
      {"drag outside", {pressC, {'m', kModel[2], -20, 5, 1}}, false, 0},
      {"right release", {pressC, {'u', kModel[2], 5, 5, platform::kRightButton}}, false, 0},
  };
  for (const StateCase& c : cases) {
    Harness x(Deliverable::kDiscMenu);
    x.Start();
    for (const Step& s : c.steps) {
      if (s.kind == 'm') x.Move(s.control, s.x, s.y, s.button);
      if (s.kind == 'd') x.Down(s.control, s.x, s.y, s.button);
      if (s.kind == 'u') x.Up(s.control, s.x, s.y, s.button);
    }
    EXPECT_EQ(x.Shows(kModel[2]), c.highlighted ? kBlue[2] : kGrey[2]) << c.what;
    EXPECT_EQ(x.Flag("litModelC"), c.flag) << c.what;
  }
}

TEST_F(Chooser, LeftReleaseInsideStartsTheModelsProgramAndNothingElseDoes) {
  for (int m = 0; m < 4; ++m) {
    for (int button : {platform::kLeftButton, platform::kRightButton, platform::kMiddleButton}) {
      for (float x : {0.0f, 2400.0f, 2400.5f, -1.0f}) {
        h.fake.Mark();
        h.Up(kModel[m], x, 510, button);
        const bool starts = button == platform::kLeftButton && x >= 0 && x <= 2400;
        Calls expected = {kBusy, "LoadPicture " + kGrey[m], "Assign " + kModel[m] + " " + kGrey[m]};
        if (starts) {
          expected.insert(expected.end(),
                          {"SetCursor 77", "FormHandle", Start(kPrograms[m]), "SetCursor 1"});
        }
        expected.push_back("DestroyCursor 77");
        EXPECT_EQ(h.fake.Since(), expected) << "model " << m << " button " << button << " x " << x;
      }
    }
  }
  EXPECT_FALSE(h.toolkit.Ended());  // the chooser stays
}

TEST_F(Chooser, PressShowsTheHighlightAndOnlyModelBLeavesTheBusyCursor) {
  for (int m : {0, 2, 3, 1}) {
    h.fake.Mark();
    h.Down(kModel[m], 2400, 510, platform::kRightButton);
    Calls expected = {kBusy, "SetCursor 77", "LoadPicture " + kBlue[m],
                      "Assign " + kModel[m] + " " + kBlue[m]};
    if (m != 1) expected.insert(expected.end(), {"SetCursor 1", "DestroyCursor 77"});
    EXPECT_EQ(h.fake.Since(), expected) << "model " << m;
  }
  EXPECT_EQ(h.fake.currentCursor, testing_support::FakePlatform::kBusyCursorHandle);
}

TEST_F(Chooser, ModelBsBusyCursorLivesUntilAnotherCursorHasTakenItsPlace) {
  // B's press leaves its cursor (77) shown; its release shows another (78)
  // and puts 77 back, so 77 lives on and only 78 goes.
  h.Down(kModel[1], 5, 5);
  h.fake.Mark();
  h.Up(kModel[1], 5, 5);
  EXPECT_EQ(h.fake.Since(),
            (Calls{kBusy, "LoadPicture " + kGrey[1], "Assign " + kModel[1] + " " + kGrey[1],
                   "SetCursor 78", "FormHandle", Start(kPrograms[1]), "SetCursor 77",
                   "DestroyCursor 78"}));
  EXPECT_EQ(h.fake.liveCursors, (std::set<platform::CursorHandle>{77}));
  // A second press of B replaces 77 for good.
  h.fake.Mark();
  h.Down(kModel[1], 5, 5);
  EXPECT_EQ(h.fake.Since(), (Calls{kBusy, "SetCursor 78", "LoadPicture " + kBlue[1],
                                   "Assign " + kModel[1] + " " + kBlue[1], "DestroyCursor 77"}));
  EXPECT_EQ(h.fake.liveCursors, (std::set<platform::CursorHandle>{78}));
  // The window's own pointer replaces it: the next event that shows a busy
  // cursor finds it gone from the screen and destroys it.
  h.fake.currentCursor = 1;
  h.fake.Mark();
  h.Up(kModel[0], 5, 5, platform::kRightButton);  // loads, never shows
  h.Down(kModel[0], 5, 5);
  EXPECT_EQ(h.fake.Since(),
            (Calls{kBusy, "LoadPicture " + kGrey[0], "Assign " + kModel[0] + " " + kGrey[0],
                   "DestroyCursor 77", kBusy, "SetCursor 77", "DestroyCursor 78",
                   "LoadPicture " + kBlue[0], "Assign " + kModel[0] + " " + kBlue[0], "SetCursor 1",
                   "DestroyCursor 77"}));
  EXPECT_TRUE(h.fake.liveCursors.empty());
}

TEST_F(Chooser, PressDragOffAndBackKeepsTheButtonNormalUntilTheRelease) {
  // Model D through the real pointer: hover, press, drag off and back.
  Drag(400, 340, 420, 340);
  h.Form().PointerDown(platform::kLeftButton, 420, 340);
  Drag(420, 340, 420, 380);  // below D, still captured by it
  EXPECT_EQ(h.Shows(kModel[3]), kGrey[3]);
  Drag(420, 380, 420, 340);  // back inside: flag still 1
  EXPECT_EQ(h.Shows(kModel[3]), kGrey[3]);
  h.fake.Mark();
  h.Form().PointerUp(platform::kLeftButton, 420, 340);
  EXPECT_EQ(Count(Start(kPrograms[3])), 1u);

  h.Form().PointerDown(platform::kLeftButton, 420, 340);
  Drag(420, 340, 420, 380);
  h.fake.Mark();
  h.Form().PointerUp(platform::kLeftButton, 420, 380);  // outside: nothing starts
  EXPECT_EQ(Count(Start(kPrograms[3])), 0u);
  EXPECT_EQ(h.Shows(kModel[3]), kGrey[3]);
}

TEST_F(Chooser, ExitHoverClearsTheModelFlagsButLeavesTheirPictures) {
  h.Move(kModel[1], 5, 5);
  h.fake.Mark();
  h.Move("imgExit", 735, 375);  // the corner is inside
  h.Move("imgExit", 10, 10);    // lit already: nothing
  EXPECT_EQ(h.fake.Since(), (Calls{"LoadPicture " + kExitBlue, "Assign imgExit " + kExitBlue}));
  EXPECT_EQ(LitSum(), 0);
  EXPECT_EQ(h.Shows(kModel[1]), kBlue[1]);  // stays lit until a column zone resets it
  EXPECT_EQ(h.Flag("litExit"), 1);
  h.Move("imgExit", 735.5f, 10);  // outside: during a drag only
  EXPECT_EQ(h.Shows("imgExit"), kExitGrey);
  EXPECT_EQ(h.Flag("litExit"), 1);
}

TEST_F(Chooser, ExitClickEndsTheChooserAndExitHasNoPressOrRelease) {
  h.Down("imgExit", 5, 5);
  h.Up("imgExit", 5, 5);
  EXPECT_TRUE(h.fake.Since().empty());
  int px, py;
  h.PixelOf("imgExit", 300, 150, px, py);
  h.Form().PointerDown(platform::kRightButton, px, py);
  h.Form().PointerUp(platform::kRightButton, px, py);
  EXPECT_FALSE(h.toolkit.Ended());  // a right click is no click
  h.Form().PointerDown(platform::kLeftButton, px, py);
  h.Form().PointerUp(platform::kLeftButton, px, py);
  EXPECT_EQ(h.fake.Since().back(), "Quit");
  EXPECT_TRUE(h.toolkit.Ended());
}

TEST(ChooserFailures, MissingBusyCursorLetsHoverWorkAndEndsTheFirstPress) {
  Harness h(Deliverable::kDiscMenu);
  h.fake.RemoveFile("setup\\images\\hourglas.ani");
  h.Start();
  h.Move(kModel[0], 5, 5);
  h.Move("Image7", 0, 0);
  h.Move("imgExit", 5, 5);
  h.Move(kModel[2], 5, 5);
  EXPECT_EQ(h.Shows(kModel[2]), kBlue[2]);
  h.fake.Mark();
  h.Down(kModel[2], 5, 5);
  EXPECT_EQ(h.fake.Since(), (Calls{kBusy, "EndProgram"}));
  EXPECT_TRUE(h.fake.reported.empty());
}

TEST(ChooserFailures, MissingPictureInAZoneKeepsTheFlagsItClearedFirst) {
  Harness h(Deliverable::kDiscMenu);
  h.fake.RemoveFile(kGrey[1]);
  h.Start();
  h.Move(kModel[0], 5, 5);
  h.Move("Image7", 0, 0);  // A back to normal, then B's missing picture
  ASSERT_EQ(h.fake.reported.size(), 1u);
  EXPECT_EQ(h.fake.reported[0].Message(), "Run-time error '53': File not found: " + kGrey[1]);
  EXPECT_EQ(h.Flag("litModelA"), 0);
  EXPECT_EQ(h.Shows(kModel[0]), kGrey[0]);
  EXPECT_EQ(h.fake.calls.back(), "EndProgram");
}

TEST(ChooserFailures, CorruptPictureIsReportedAsAnInvalidPicture) {
  Harness h(Deliverable::kDiscMenu);
  h.fake.CorruptFile(kBlue[3]);
  h.Start();
  h.Move(kModel[3], 5, 5);
  ASSERT_EQ(h.fake.reported.size(), 1u);
  EXPECT_EQ(h.fake.reported[0].Message(), "Run-time error '481': Invalid picture: " + kBlue[3]);
  EXPECT_EQ(h.Flag("litModelD"), 0);  // the flag is set only after the picture
}

}  // namespace
