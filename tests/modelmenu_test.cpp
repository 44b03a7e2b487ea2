// The model menu's buttons in both windows: installer, documentation, exit
// and the help panel, with the exact platform calls each event makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "harness.h"

namespace {

using startup::Deliverable;
using testing_support::FakePlatform;
using testing_support::Harness;
using Calls = std::vector<std::string>;

const std::string kBusy = "LoadCursorFromFileA setup\\images\\hourglas.ani";
const std::string kSetBusy = "SetCursor 77";
const std::string kSetArrow = "SetCursor 1";
const std::string kDestroyBusy = "DestroyCursor 77";
const std::string kStartInstaller =
    "ShellExecuteA 4660 open NV-QX480K\\setup\\utility\\NORVANE_Ondrix_Setup_2.exe [] [] 1";
const std::string kOpenPage =
    "ShellExecuteA 4660 open NV-QX480K\\Manual\\UserGuideEng.html [] [] 1";
const std::string kOpenFolder = "Shell explorer.exe /n,/e, .\\NV-QX480K\\Manual 1";

// The pictures of one window, by its folder on the disc.
struct Window {
  std::uint16_t language;
  std::string dir;  // "setup\\images\\" or "setup\\images\\zhCN\\"
};
void PrintTo(const Window& w, std::ostream* os) {
  *os << w.language;
}

const Window kEnglish = {1033, "setup\\images\\"};
const Window kChinese = {2052, "setup\\images\\zhCN\\"};

class ModelMenu : public ::testing::TestWithParam<Window> {
 protected:
  Harness h{Deliverable::kModelMenu};
  std::string dir;
  void SetUp() override {
    h.Start(GetParam().language);
    dir = GetParam().dir;
    h.fake.Mark();
  }
  std::string Load(const std::string& file) { return "LoadPicture " + dir + file; }
  std::string Put(const std::string& control, const std::string& file) {
    return "Assign " + control + " " + dir + file;
  }
};

INSTANTIATE_TEST_SUITE_P(BothWindows, ModelMenu, ::testing::Values(kEnglish, kChinese),
                         [](const auto& p) { return p.param.language == 2052 ? "zhCN" : "en"; });

TEST_P(ModelMenu, PressInsideShowsThePressedPictureUnderTheBusyCursorAndPutsTheCursorBack) {
  h.Down("imgManualInstallation", 100, 100, platform::kRightButton);
  h.Down("imgDocumentation", 0, 330, platform::kMiddleButton);
  EXPECT_EQ(h.fake.Since(),
            (Calls{kBusy, kSetBusy, Load("Windows-XP-Vista-7-1.gif"),
                   Put("imgManualInstallation", "Windows-XP-Vista-7-1.gif"), kSetArrow,
                   kDestroyBusy, kBusy, kSetBusy, Load("Documentationdown.gif"),
                   Put("imgDocumentation", "Documentationdown.gif"), kSetArrow, kDestroyBusy}));
  EXPECT_EQ(h.fake.currentCursor, 1u);
  EXPECT_TRUE(h.fake.liveCursors.empty());
  EXPECT_EQ(h.Flag("mHelpShownManualInstallation") + h.Flag("mHelpShownDocumentation"), 0);
}

TEST_P(ModelMenu, PressOutsideThePressBoxChangesNoPicture) {
  h.Down("imgManualInstallation", 3400, 10);
  h.Down("imgDocumentation", 10, 331);
  EXPECT_EQ(h.fake.Since(), (Calls{kBusy, kSetBusy, kSetArrow, kDestroyBusy, kBusy, kSetBusy,
                                   kSetArrow, kDestroyBusy}));
}

TEST_P(ModelMenu, InstallerReleaseInsideItsBoxStartsTheInstallerOnceEachTime) {
  for (int button : {platform::kLeftButton, platform::kRightButton, platform::kMiddleButton}) {
    h.fake.Mark();
    h.Up("imgManualInstallation", 2805, 330, button);
    EXPECT_EQ(h.fake.Since(),
              (Calls{kBusy, Load("Windows-XP-Vista-7.gif"),
                     Put("imgManualInstallation", "Windows-XP-Vista-7.gif"), kSetBusy, "FormHandle",
                     kStartInstaller, kSetArrow, kDestroyBusy}))
        << "button " << button;
  }
  EXPECT_TRUE(h.toolkit.LoadedForms() == 1 && !h.toolkit.Ended());  // the menu stays
}

TEST_P(ModelMenu, InstallerReleaseOutsideItsBoxOnlyRestoresTheNormalPicture) {
  const float outside[][2] = {{-1, 10}, {10, -1}, {10, 330.5f}, {3286, 10}};
  for (const auto& p : outside) {
    h.fake.Mark();
    h.Up("imgManualInstallation", p[0], p[1]);
    EXPECT_EQ(h.fake.Since(),
              (Calls{kBusy, Load("Windows-XP-Vista-7.gif"),
                     Put("imgManualInstallation", "Windows-XP-Vista-7.gif"), kDestroyBusy}))
        << p[0] << "," << p[1];
  }
}

TEST(ModelMenuBoxes, EachWindowHasItsOwnInstallerBoxes) {
  struct Case {
    std::uint16_t language;
    float x;
    bool starts;     // a release there starts the installer
    bool helpShown;  // a hover there shows the help picture
  };
  const Case cases[] = {
      {1033, 2805, true, true},   {1033, 2805.5f, false, true}, {1033, 2900, false, true},
      {1033, 3270, false, true},  {1033, 3271, false, false},   {2052, 2730, true, true},
      {2052, 2731, true, false},  {2052, 2800, true, false},    {2052, 3285, true, false},
      {2052, 3286, false, false}, {1033, 0, true, true},
  };
  for (const Case& c : cases) {
    Harness h(Deliverable::kModelMenu);
    h.Start(c.language);
    h.Move("imgManualInstallation", c.x, 165);
    h.fake.Mark();
    h.Up("imgManualInstallation", c.x, 165);
    const Calls after = h.fake.Since();
    EXPECT_EQ(std::count(after.begin(), after.end(), kStartInstaller), c.starts ? 1 : 0)
        << c.language << " release at " << c.x;
    EXPECT_EQ(h.Shows("imgHelp") != "(empty)", c.helpShown) << c.language << " hover at " << c.x;
  }
}

TEST_P(ModelMenu, HoverLoadsTheHelpPictureOnceUntilAnotherButtonResetsItsFlag) {
  for (int i = 0; i < 1000; ++i) h.Move("imgManualInstallation", static_cast<float>(i % 300), 7);
  EXPECT_EQ(h.fake.Since(), (Calls{Load("ManualInstallationHelp.gif"),
                                   Put("imgHelp", "ManualInstallationHelp.gif")}));
  EXPECT_EQ(h.Flag("mHelpShownManualInstallation"), 1);

  // Documentation, installer, documentation: the documentation help loads twice.
  h.fake.Mark();
  h.Move("imgDocumentation", 5, 5);
  h.Move("imgManualInstallation", 5, 5);
  h.Move("imgDocumentation", 5, 5);
  EXPECT_EQ(h.fake.Since(),
            (Calls{Load("documentationhelp.gif"), Put("imgHelp", "documentationhelp.gif"),
                   Load("ManualInstallationHelp.gif"), Put("imgHelp", "ManualInstallationHelp.gif"),
                   Load("documentationhelp.gif"), Put("imgHelp", "documentationhelp.gif")}));
  EXPECT_EQ(h.Flag("mHelpShownDocumentation"), 1);
  EXPECT_EQ(h.Flag("mHelpShownManualInstallation"), 0);
}

TEST_P(ModelMenu, OutsideHoverEmptiesThePanelAndTheHelpStaysAwayUntilTheExitHover) {
  h.Move("imgDocumentation", 5, 5);
  h.Move("imgDocumentation", 5, 400);  // a drag below the button
  h.Move("imgDocumentation", 5, 5);    // back inside: flag still 1
  EXPECT_EQ(h.Shows("imgHelp"), "(empty)");
  h.Move("imgExit", 3, 3);
  EXPECT_EQ(h.Flag("mHelpShownDocumentation"), 0);
  h.Move("imgDocumentation", 5, 5);
  EXPECT_EQ(h.Shows("imgHelp"), dir + "documentationhelp.gif");
  EXPECT_EQ(h.Flag("mHelpShownDocumentation"), 1);
}

TEST_P(ModelMenu, EveryExitHoverEmptiesThePanelAndResetsBothFlags) {
  h.Move("imgManualInstallation", 5, 5);
  h.fake.Mark();
  h.Move("imgExit", 1, 1);
  h.Move("imgExit", 99999, -5);  // no hit test
  EXPECT_EQ(h.fake.Since(), (Calls{"LoadPicture ", "Assign imgHelp (empty)", "LoadPicture ",
                                   "Assign imgHelp (empty)"}));
  EXPECT_EQ(h.Flag("mHelpShownManualInstallation") + h.Flag("mHelpShownDocumentation"), 0);
}

TEST_P(ModelMenu, ExitClickUnloadsTheWindowAndEndsTheProgram) {
  h.Click("imgExit");
  EXPECT_EQ(h.fake.Since(), (Calls{"UnloadForm " + std::string(h.Form().layout().name), "Quit"}));
  EXPECT_TRUE(h.toolkit.Ended());
}

TEST_P(ModelMenu, ExitHasNoPressOrReleaseAndTheHelpPanelNoHandlers) {
  h.Down("imgExit", 5, 5);
  h.Up("imgExit", 5, 5);
  h.Down("imgHelp", 5, 5);
  h.Move("imgHelp", 5, 5);
  h.Up("imgHelp", 5, 5);
  EXPECT_TRUE(h.fake.Since().empty());
}

struct EditionCase {
  std::uint32_t platformId, major, minor;
  bool folder;
};

TEST_P(ModelMenu, DocumentationReleaseOpensTheFolderOrThePageByEdition) {
  const EditionCase cases[] = {
      {2, 6, 1, true},   {2, 6, 2, true},   {2, 6, 3, true},  {2, 6, 4, true},
      {2, 6, 0, false},  {2, 5, 0, false},  {2, 5, 1, false}, {2, 5, 2, false},
      {2, 10, 0, false}, {1, 4, 10, false}, {0, 6, 1, false},
  };
  for (const EditionCase& c : cases) {
    h.fake.SetVersion(c.platformId, c.major, c.minor);
    h.fake.Mark();
    h.Up("imgDocumentation", 5, 5);
    Calls expected = {Load("Documentation.gif"), Put("imgDocumentation", "Documentation.gif"),
                      "GetVersionExA",           "GetVersionExA",
                      "GetVersionExA",           "GetVersionExA"};
    if (c.folder) {
      expected.push_back(kOpenFolder);
    } else {
      expected.insert(expected.end(), {"FormHandle", kOpenPage});
    }
    EXPECT_EQ(h.fake.Since(), expected) << c.platformId << " " << c.major << "." << c.minor;
  }
}

TEST_P(ModelMenu, DocumentationReleaseActsWhereverAndWithAnyButton) {
  h.fake.SetVersion(2, 6, 0);
  h.Down("imgDocumentation", 5, 5, platform::kRightButton);
  h.fake.Mark();
  h.Up("imgDocumentation", -900, 4000, platform::kRightButton);
  const Calls after = h.fake.Since();
  EXPECT_EQ(after.front(), Load("Documentation.gif"));
  EXPECT_EQ(after.back(), kOpenPage);
  EXPECT_EQ(std::count(after.begin(), after.end(), kBusy), 0);  // a plain release: no cursor
}

TEST_P(ModelMenu, MissingBusyCursorEndsAPressOrAReleaseAtOnceBeforeAnyChange) {
  for (bool press : {true, false}) {
    Harness h2(Deliverable::kModelMenu);
    h2.fake.RemoveFile("setup\\images\\hourglas.ani");
    h2.Start(GetParam().language);
    h2.Move("imgDocumentation", 5, 5);  // hover needs no cursor
    h2.fake.Mark();
    if (press) {
      h2.Down("imgManualInstallation", 5, 5);
    } else {
      h2.Up("imgManualInstallation", 5, 5);
    }
    EXPECT_EQ(h2.fake.Since(), (Calls{kBusy, "EndProgram"}));
    EXPECT_EQ(h2.Shows("imgManualInstallation"),
              "resource:" + std::string(h2.Form().layout().name) + "_imgManualInstallation.gif");
    EXPECT_TRUE(h2.fake.reported.empty());
    h2.Form().PointerMove(50, 260);  // nothing runs after the end
    EXPECT_EQ(h2.fake.Since().size(), 2u);
  }
}

TEST_P(ModelMenu, MissingPictureIsReportedOnceAndEndsTheProgram) {
  struct Case {
    std::string file;
    std::function<void(Harness&)> act;
    int flagInstaller;  // mHelpShownManualInstallation afterwards
  };
  const Case cases[] = {
      {"ManualInstallationHelp.gif", [](Harness& x) { x.Move("imgManualInstallation", 5, 5); }, 0},
      {"Windows-XP-Vista-7-1.gif", [](Harness& x) { x.Down("imgManualInstallation", 5, 5); }, 0},
      // In a boxed release the normal picture loads before errors are skipped.
      {"Windows-XP-Vista-7.gif", [](Harness& x) { x.Up("imgManualInstallation", 5, 5); }, 0},
  };
  for (const Case& c : cases) {
    Harness h2(Deliverable::kModelMenu);
    h2.fake.RemoveFile(dir + c.file);
    h2.Start(GetParam().language);
    c.act(h2);
    ASSERT_EQ(h2.fake.reported.size(), 1u) << c.file;
    EXPECT_EQ(h2.fake.reported[0].Message(),
              "Run-time error '53': File not found: " + dir + c.file);
    EXPECT_EQ(h2.fake.calls.back(), "EndProgram");
    EXPECT_EQ(h2.Flag("mHelpShownManualInstallation"), c.flagInstaller);
    EXPECT_EQ(std::count(h2.fake.calls.begin(), h2.fake.calls.end(), kStartInstaller), 0);
  }
}

TEST_P(ModelMenu, InstallerStartErrorsAreSkippedAndTheCursorStillComesBack) {
  h.fake.shellExecuteRaises = true;
  h.Up("imgManualInstallation", 5, 5);
  const Calls after = h.fake.Since();
  EXPECT_EQ(Calls(after.end() - 2, after.end()), (Calls{kSetArrow, kDestroyBusy}));
  EXPECT_TRUE(h.fake.reported.empty());
  EXPECT_EQ(h.fake.currentCursor, 1u);
  EXPECT_FALSE(h.toolkit.Ended());
  h.fake.shellExecuteRaises = false;
  h.fake.RemoveFile(modelmenu::kInstaller);  // a missing installer is not noticed either
  h.Up("imgManualInstallation", 5, 5);
  EXPECT_TRUE(h.fake.reported.empty());
  EXPECT_FALSE(h.toolkit.Ended());
}

TEST_P(ModelMenu, DocumentationErrorsAreNotSkipped) {
  h.fake.SetVersion(2, 6, 1);
  h.fake.RemoveFile("explorer.exe");
  h.Up("imgDocumentation", 5, 5);
  ASSERT_EQ(h.fake.reported.size(), 1u);
  EXPECT_EQ(h.fake.reported[0].number, platform::kErrFileNotFound);
  EXPECT_TRUE(h.toolkit.Ended());
}

TEST(ModelMenuPointer, ThePointerPathFromPressToReleaseDrivesTheButtons) {
  // Through the form: press on the installer, drag off to the right and
  // release there; then a click on Documentation.
  Harness h(Deliverable::kModelMenu);
  h.Start(1033);
  int px, py;
  h.PixelOf("imgManualInstallation", 2805, 150, px, py);
  h.Form().PointerMove(px, py);
  h.Form().PointerDown(platform::kLeftButton, px, py);
  EXPECT_EQ(h.Shows("imgManualInstallation"), "setup\\images\\Windows-XP-Vista-7-1.gif");
  h.fake.Mark();
  h.Form().PointerMove(px + 1, py);  // 2820 twips: inside the hover box, help stays
  h.Form().PointerUp(platform::kLeftButton, px + 1, py);
  EXPECT_EQ(h.Shows("imgManualInstallation"), "setup\\images\\Windows-XP-Vista-7.gif");
  const Calls after = h.fake.Since();
  EXPECT_EQ(std::count(after.begin(), after.end(), kStartInstaller), 0);
  EXPECT_EQ(h.Shows("imgHelp"), "setup\\images\\ManualInstallationHelp.gif");
  h.Form().PointerDown(platform::kLeftButton, px, py);
  h.Form().PointerUp(platform::kLeftButton, px, py);  // 2805 twips: on the edge, inside
  const Calls all = h.fake.Since();
  EXPECT_EQ(std::count(all.begin(), all.end(), kStartInstaller), 1);
  EXPECT_EQ(h.Form().PointerAt(px, py), platform::Pointer::kHand);
}

}  // namespace
