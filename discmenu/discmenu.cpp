#include "discmenu/discmenu.h"

#include "menu/layouts.h"

namespace discmenu {

using menu::Action;
using menu::ButtonSpec;
using menu::FlagBit;
using menu::HoverTarget;
using menu::kNoAction;
using menu::kNoBox;
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
constexpr bool kRestore = true;
constexpr bool kLeftOnly = true;
constexpr bool kSkipErrors = true;

// Columns as in the model menu's tables. A press shows the highlighted
// picture; model B's press leaves the busy cursor shown.
constexpr ButtonSpec kButtons[] = {
    {"imgManualInstallation", kGreyA, kBlueA, kModelBox, HoverTarget::kSelf, kBlueA, kModelBox,
     kLitModelA, Others(kLitModelA), 0, kRestore, ReleaseKind::kBoxed, kModelBox, kLeftOnly,
     !kSkipErrors, kStartModelAB, kNoAction},
    {"imgSetupWizard", kGreyB, kBlueB, kModelBox, HoverTarget::kSelf, kBlueB, kModelBox, kLitModelB,
     Others(kLitModelB), 0, !kRestore, ReleaseKind::kBoxed, kModelBox, kLeftOnly, !kSkipErrors,
     kStartModelAB, kNoAction},
    {"imgDocumentation", kGreyC, kBlueC, kModelBox, HoverTarget::kSelf, kBlueC, kModelBox,
     kLitModelC, Others(kLitModelC), 0, kRestore, ReleaseKind::kBoxed, kModelBox, kLeftOnly,
     !kSkipErrors, kStartModelC, kNoAction},
    {"imgHelp", kGreyD, kBlueD, kModelBox, HoverTarget::kSelf, kBlueD, kModelBox, kLitModelD,
     Others(kLitModelD), 0, kRestore, ReleaseKind::kBoxed, kModelBox, kLeftOnly, !kSkipErrors,
     kStartModelD, kNoAction},
    // Exit: no press or release of its own; every hover clears the model
    // flags first; a click unloads the chooser.
    {"imgExit", kGreyExit, nullptr, kNoBox, HoverTarget::kSelf, kBlueExit, kExitBox, kLitExit, 0,
     kModelFlags, kRestore, ReleaseKind::kNone, kNoBox, !kLeftOnly, !kSkipErrors, kNoAction,
     menu::kUnload},
};

constexpr menu::PictureChange kNone = {"", nullptr};
constexpr menu::PictureChange kNormalA = {"imgManualInstallation", kGreyA};
constexpr menu::PictureChange kNormalB = {"imgSetupWizard", kGreyB};
constexpr menu::PictureChange kNormalC = {"imgDocumentation", kGreyC};
constexpr menu::PictureChange kNormalD = {"imgHelp", kGreyD};
constexpr menu::PictureChange kNormalExit = {"imgExit", kGreyExit};
constexpr bool kFlagsFirst = true;

// The reset zones: flags to 0, then the neighbours' normal pictures.
constexpr ResetSpec kZones[] = {
    {"Image1", kModelFlags, kFlagsFirst, {kNormalA, kNormalB}, 2, kNoAction},
    {"Image2", kModelFlags, kFlagsFirst, {kNormalC, kNormalD}, 2, kNoAction},
    {"Image3", kModelFlags, kFlagsFirst, {kNormalA, kNormalB}, 2, kNoAction},
    {"Image4", kModelFlags, kFlagsFirst, {kNormalC, kNormalD}, 2, kNoAction},
    {"Image5", kModelFlags, kFlagsFirst, {kNormalA, kNone}, 1, kNoAction},
    {"Image6", kModelFlags, kFlagsFirst, {kNormalD, kNone}, 1, kNoAction},
    {"Image7", kModelFlags, kFlagsFirst, {kNormalA, kNormalB}, 2, kNoAction},
    {"Image8", kModelFlags, kFlagsFirst, {kNormalB, kNormalC}, 2, kNoAction},
    {"Image9", kModelFlags, kFlagsFirst, {kNormalC, kNormalD}, 2, kNoAction},
    {"Image10", FlagBit(kLitExit), kFlagsFirst, {kNormalExit, kNone}, 1, kNoAction},
    {"Image11", FlagBit(kLitExit), kFlagsFirst, {kNormalExit, kNone}, 1, kNoAction},
    {"Image12", FlagBit(kLitExit), kFlagsFirst, {kNormalExit, kNone}, 1, kNoAction},
    {"Image13", FlagBit(kLitExit), kFlagsFirst, {kNormalExit, kNone}, 1, kNoAction},
};

}  // namespace

const menu::MenuSpec kWizard = {
    &menu::kDiscMenuWizard, "", nullptr, 5, kFlagNames, kButtons, 5, kZones, 13};

}  // namespace discmenu
