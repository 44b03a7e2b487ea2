// Start-up routing and the start sequence of both programs; edition naming.
#include <gtest/gtest.h>

#include <cstring>

#include "harness.h"
#include "startup/edition.h"

namespace {

using startup::Deliverable;
using startup::MenuChoice;
using testing_support::Harness;
using Calls = std::vector<std::string>;

struct RouteCase {
  Deliverable program;
  std::uint16_t language;
  MenuChoice expected;
};

TEST(Routing, OnlyExactChinesePRCSelectsTheChineseMenuOfTheModelMenu) {
  const RouteCase cases[] = {
      {Deliverable::kModelMenu, 2052, MenuChoice::kSimplifiedChinese},
      {Deliverable::kModelMenu, 1028, MenuChoice::kEnglish},    // Chinese, Taiwan
      {Deliverable::kModelMenu, 3076, MenuChoice::kEnglish},    // Chinese, Hong Kong
      {Deliverable::kModelMenu, 4100, MenuChoice::kEnglish},    // Chinese, Singapore
      {Deliverable::kModelMenu, 0x0004, MenuChoice::kEnglish},  // neutral Chinese
      {Deliverable::kModelMenu, 1033, MenuChoice::kEnglish},
      {Deliverable::kModelMenu, 0, MenuChoice::kEnglish},
      {Deliverable::kModelMenu, 0x8804, MenuChoice::kEnglish},  // 2052 with the sign bit
      {Deliverable::kModelMenu, 0xFFFF, MenuChoice::kEnglish},
      {Deliverable::kDiscMenu, 2052, MenuChoice::kEnglish},
      {Deliverable::kDiscMenu, 1028, MenuChoice::kEnglish},
      {Deliverable::kDiscMenu, 1033, MenuChoice::kEnglish},
  };
  for (const RouteCase& c : cases) {
    EXPECT_EQ(startup::Route(c.program, c.language), c.expected)
        << "program " << static_cast<int>(c.program) << " language " << c.language;
  }
}

struct StartCase {
  Deliverable program;
  std::uint16_t language;
  Calls expected;
};

TEST(StartUp, ShowsTheChosenMenuAfterItsLoadAndOnlyThenUnloadsTheStartForm) {
  const StartCase cases[] = {
      {Deliverable::kModelMenu,
       2052,
       {"GetUserDefaultLangID", "CreateFormWindow wizard_zhCN",
        "LoadPicture setup\\images\\zhCN\\help.gif", "Assign imgHelp setup\\images\\zhCN\\help.gif",
        "ShowForm wizard_zhCN", "UnloadForm autorun"}},
      {Deliverable::kModelMenu,
       1028,
       {"GetUserDefaultLangID", "CreateFormWindow wizard", "LoadPicture setup\\images\\help.gif",
        "Assign imgHelp setup\\images\\help.gif", "ShowForm wizard", "UnloadForm autorun"}},
      {Deliverable::kDiscMenu,
       2052,
       {"GetUserDefaultLangID", "CreateFormWindow wizard", "ShowForm wizard",
        "UnloadForm autorun"}},
  };
  for (const StartCase& c : cases) {
    Harness h(c.program);
    h.Start(c.language);
    EXPECT_EQ(h.fake.calls, c.expected) << "language " << c.language;
    EXPECT_EQ(h.toolkit.LoadedForms(), 1);
    EXPECT_FALSE(h.fake.quit);
    EXPECT_EQ(h.Form().layout().caption,
              c.program == Deliverable::kDiscMenu ? "Norvane" : "Ondrix");
  }
}

TEST(StartUp, LoadResetsEveryFlagAndTheChooserSetsNoPicture) {
  Harness h(Deliverable::kDiscMenu);
  h.Start();
  for (const char* flag : {"litModelA", "litModelB", "litModelC", "litModelD", "litExit"}) {
    EXPECT_EQ(h.Flag(flag), 0) << flag;
  }
  // The buttons show their built-in pictures until an event changes them.
  EXPECT_EQ(h.Shows("imgHelp"), "resource:wizard_imgHelp.gif");
}

TEST(StartUp, ClosingTheMenuWindowEndsTheProgram) {
  Harness h(Deliverable::kModelMenu);
  h.Start();
  h.fake.Mark();
  h.Form().CloseRequested();
  EXPECT_EQ(h.fake.Since(), (Calls{"UnloadForm wizard", "Quit"}));
  EXPECT_TRUE(h.toolkit.Ended());
  h.Form().PointerMove(50, 260);  // nothing reaches a closed window
  EXPECT_EQ(h.fake.Since().size(), 2u);
}

TEST(StartUp, MissingDefaultHelpPictureIsReportedOnceAndEndsBeforeTheWindowShows) {
  Harness h(Deliverable::kModelMenu);
  h.fake.RemoveFile("setup\\images\\help.gif");
  h.Start();
  EXPECT_EQ(
      h.fake.calls,
      (Calls{"GetUserDefaultLangID", "CreateFormWindow wizard",
             "LoadPicture setup\\images\\help.gif",
             "Report Run-time error '53': File not found: setup\\images\\help.gif", "EndProgram"}));
}

struct EditionCase {
  std::uint32_t platformId, major, minor;
  const char* name;
};

TEST(Edition, NamesFollowTheTableFirstMatchWins) {
  const EditionCase cases[] = {
      {1, 4, 0, "Windows 95"},
      {1, 9, 0, "Windows 95"},
      {1, 4, 10, "Windows 98"},
      {1, 4, 90, ""},
      {1, 0, 1, ""},
      {2, 3, 51, "Windows NT 3.51"},
      {2, 4, 0, "Windows NT 4.0"},
      {2, 5, 0, "Windows 2000"},
      {2, 5, 1, "Windows 2000"},
      {2, 5, 2, "Windows XP x64"},
      {2, 5, 3, "Windows 2000"},
      {2, 6, 0, "Windows Vista"},
      {2, 6, 1, "Windows 7"},
      {2, 6, 2, "Windows 8"},
      {2, 6, 3, "Windows 8.1"},
      {2, 6, 4, "Windows Blue"},
      {2, 6, 99, "Windows Blue"},
      {2, 10, 0, ""},
      {2, 2, 0, ""},
      {0, 6, 1, "Failed"},
      {3, 6, 1, "Failed"},
      {0xFFFFFFFF, 6, 1, "Failed"},
  };
  for (const EditionCase& c : cases) {
    EXPECT_EQ(startup::EditionName(c.platformId, c.major, c.minor), c.name)
        << c.platformId << " " << c.major << "." << c.minor;
  }
}

TEST(Edition, PreparesTheRecordAndQueriesAtEveryCall) {
  testing_support::FakePlatform fake;
  fake.SetVersion(2, 6, 3);
  EXPECT_EQ(startup::GetWindowsEdition(fake), "Windows 8.1");
  fake.SetVersion(2, 6, 0);
  EXPECT_EQ(startup::GetWindowsEdition(fake), "Windows Vista");
  ASSERT_EQ(fake.versionRequests.size(), 2u);
  const platform::VersionRecord& sent = fake.versionRequests[0];
  EXPECT_EQ(sent.size, 148u);
  EXPECT_EQ(sent.major + sent.minor + sent.build + sent.platformId, 0u);
  EXPECT_EQ(std::string(sent.servicePack, 128), std::string(128, ' '));
}

TEST(Edition, AFailedQueryIsNamedFailed) {
  testing_support::FakePlatform fake;
  fake.versionSucceeds = false;
  EXPECT_EQ(startup::GetWindowsEdition(fake), "Failed");
}

}  // namespace
