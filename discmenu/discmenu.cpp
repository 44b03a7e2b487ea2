#include "discmenu/discmenu.h"

#include "menu/layouts.h"

namespace discmenu {

using menu::Action;
using menu::ButtonSpec;
using menu::FlagBit;
using menu::HoverTarget;
using menu::ReleaseKind;
using menu::ResetSpec;

namespace {

const char* const kFlagNames[] = {"litModelA", "litModelB", "litModelC", "litModelD", "litExit"};

constexpr menu::FlagSet kModelFlags =
    FlagBit(kLitModelA) | FlagBit(kLitModelB) | FlagBit(kLitModelC) | FlagBit(kLitModelD);
constexpr menu::FlagSet Others(int flag) {
  return kModelFlags & ~FlagBit(flag);
}

constexpr const char* kGreyA = "setup\\images\\enUS\\NV-QX120E-grey.gif";
constexpr const char* kBlueA = "setup\\images\\enUS\\NV-QX120E-blue.gif";
constexpr const char* kGreyB = "setup\\images\\enUS\\NV-QX120K-grey.gif";
constexpr const char* kBlueB = "setup\\images\\enUS\\NV-QX120K-blue.gif";
constexpr const char* kGreyC = "setup\\images\\enUS\\NV-QX480K-grey.gif";
constexpr const char* kBlueC = "setup\\images\\enUS\\NV-QX480K-blue.gif";
constexpr const char* kGreyD = "setup\\images\\enUS\\NV-WQX640K-grey.gif";
constexpr const char* kBlueD = "setup\\images\\enUS\\NV-WQX640K-blue.gif";
constexpr const char* kGreyExit = "setup\\images\\enUS\\NV-EXIT-grey.gif";
constexpr const char* kBlueExit = "setup\\images\\enUS\\NV-EXIT-blue.gif";

constexpr Action kStartModelAB = {menu::StartProgram, "NV-QX120E_NV-QX120K\\autorun2.exe"};
constexpr Action kStartModelC = {menu::StartProgram, "NV-QX480K\\autorun3.exe"};
constexpr Action kStartModelD = {menu::StartProgram, "NV-WQX640K\\autorun4.exe"};

constexpr menu::Box kModelBox = {2400, 510};
constexpr menu::Box kExitBox = {735, 375};

// The four models and exit. A press shows the highlighted picture; model
// B's press leaves the busy cursor shown. Names are the words on their
// pictures, descriptions what they open, for screen readers.
constexpr ButtonSpec kButtons[] = {
    {.control = "imgManualInstallation",
     .name = "NV-QX120E",
     .description = "Opens the setup menu of the NV-QX120E and NV-QX120K models.",
     .normalPicture = kGreyA,
     .pressedPicture = kBlueA,
     .pressBox = kModelBox,
     .hoverTarget = HoverTarget::kSelf,
     .hoverPicture = kBlueA,
     .hoverBox = kModelBox,
     .ownFlag = kLitModelA,
     .clearsWhenShown = Others(kLitModelA),
     .restoreCursorAfterPress = true,
     .release = ReleaseKind::kBoxed,
     .releaseBox = kModelBox,
     .leftButtonOnly = true,
     .skipActionErrors = false,
     .action = kStartModelAB},
    // Model B: its press leaves the busy cursor shown.
    {.control = "imgSetupWizard",
     .name = "NV-QX120K",
     .description = "Opens the setup menu of the NV-QX120E and NV-QX120K models.",
     .normalPicture = kGreyB,
     .pressedPicture = kBlueB,
     .pressBox = kModelBox,
     .hoverTarget = HoverTarget::kSelf,
     .hoverPicture = kBlueB,
     .hoverBox = kModelBox,
     .ownFlag = kLitModelB,
     .clearsWhenShown = Others(kLitModelB),
     .restoreCursorAfterPress = false,
     .release = ReleaseKind::kBoxed,
     .releaseBox = kModelBox,
     .leftButtonOnly = true,
     .skipActionErrors = false,
     .action = kStartModelAB},
    {.control = "imgDocumentation",
     .name = "NV-QX480K",
     .description = "Opens the setup menu of the NV-QX480K model.",
     .normalPicture = kGreyC,
     .pressedPicture = kBlueC,
     .pressBox = kModelBox,
     .hoverTarget = HoverTarget::kSelf,
     .hoverPicture = kBlueC,
     .hoverBox = kModelBox,
     .ownFlag = kLitModelC,
     .clearsWhenShown = Others(kLitModelC),
     .restoreCursorAfterPress = true,
     .release = ReleaseKind::kBoxed,
     .releaseBox = kModelBox,
     .leftButtonOnly = true,
     .skipActionErrors = false,
     .action = kStartModelC},
    {.control = "imgHelp",
     .name = "NV-WQX640K",
     .description = "Opens the setup menu of the NV-WQX640K model.",
     .normalPicture = kGreyD,
     .pressedPicture = kBlueD,
     .pressBox = kModelBox,
     .hoverTarget = HoverTarget::kSelf,
     .hoverPicture = kBlueD,
     .hoverBox = kModelBox,
     .ownFlag = kLitModelD,
     .clearsWhenShown = Others(kLitModelD),
     .restoreCursorAfterPress = true,
     .release = ReleaseKind::kBoxed,
     .releaseBox = kModelBox,
     .leftButtonOnly = true,
     .skipActionErrors = false,
     .action = kStartModelD},
    // Exit: no press or release of its own; every hover clears the model
    // flags first; a click unloads the chooser.
    {.control = "imgExit",
     .name = "Exit",
     .description = "Closes this window.",
     .normalPicture = kGreyExit,
     .hoverTarget = HoverTarget::kSelf,
     .hoverPicture = kBlueExit,
     .hoverBox = kExitBox,
     .ownFlag = kLitExit,
     .clearsOnEveryHover = kModelFlags,
     .click = menu::kUnload},
};

constexpr menu::PictureChange kNormalA = {"imgManualInstallation", kGreyA};
constexpr menu::PictureChange kNormalB = {"imgSetupWizard", kGreyB};
constexpr menu::PictureChange kNormalC = {"imgDocumentation", kGreyC};
constexpr menu::PictureChange kNormalD = {"imgHelp", kGreyD};
constexpr menu::PictureChange kNormalExit = {"imgExit", kGreyExit};

// The reset zones: flags to 0, then the neighbours' normal pictures.
// clang-format off
constexpr ResetSpec kZones[] = {
    {.control = "Image1", .clears = kModelFlags, .flagsFirst = true, .pictures = {kNormalA, kNormalB}},
    {.control = "Image2", .clears = kModelFlags, .flagsFirst = true, .pictures = {kNormalC, kNormalD}},
    {.control = "Image3", .clears = kModelFlags, .flagsFirst = true, .pictures = {kNormalA, kNormalB}},
    {.control = "Image4", .clears = kModelFlags, .flagsFirst = true, .pictures = {kNormalC, kNormalD}},
    {.control = "Image5", .clears = kModelFlags, .flagsFirst = true, .pictures = {kNormalA}},
    {.control = "Image6", .clears = kModelFlags, .flagsFirst = true, .pictures = {kNormalD}},
    {.control = "Image7", .clears = kModelFlags, .flagsFirst = true, .pictures = {kNormalA, kNormalB}},
    {.control = "Image8", .clears = kModelFlags, .flagsFirst = true, .pictures = {kNormalB, kNormalC}},
    {.control = "Image9", .clears = kModelFlags, .flagsFirst = true, .pictures = {kNormalC, kNormalD}},
    {.control = "Image10", .clears = FlagBit(kLitExit), .flagsFirst = true, .pictures = {kNormalExit}},
    {.control = "Image11", .clears = FlagBit(kLitExit), .flagsFirst = true, .pictures = {kNormalExit}},
    {.control = "Image12", .clears = FlagBit(kLitExit), .flagsFirst = true, .pictures = {kNormalExit}},
    {.control = "Image13", .clears = FlagBit(kLitExit), .flagsFirst = true, .pictures = {kNormalExit}},
};
// clang-format on

constexpr std::string_view kFocusOrder[] = {"imgManualInstallation", "imgSetupWizard",
                                            "imgDocumentation", "imgHelp", "imgExit"};

}  // namespace

const menu::MenuSpec kWizard = {.layout = &menu::kDiscMenuWizard,
                                .helpPanel = "",
                                .loadHelpPicture = nullptr,
                                .flagNames = kFlagNames,
                                .buttons = kButtons,
                                .resets = kZones,
                                .focusOrder = kFocusOrder};

}  // namespace discmenu
