// The windows of both programs as data: every control of every form, front
// to back, with its place and size in twips, its built-in initial picture
// and its pointer. Built-in pictures are named <form>_<control>.<ext>; the
// program's resources hold them under that name (resources/<program>/).
// What the controls do is the button tables' (modelmenu/, discmenu/).
#pragma once

#include "platform/form.h"

namespace menu {

using platform::ControlKind;
using platform::ControlLayout;
using platform::FormLayout;
using platform::Pointer;

constexpr ControlKind kImage = ControlKind::kImage;
constexpr ControlKind kLabel = ControlKind::kLabel;
constexpr ControlKind kBackground = ControlKind::kBackground;
constexpr Pointer kArrow = Pointer::kArrow;
constexpr Pointer kHand = Pointer::kHand;

// The invisible start form of both programs.
constexpr FormLayout kStartForm = {"autorun", "Form1", 4800, 3600, nullptr, 0, true};

// modelmenu, English.
constexpr ControlLayout kModelMenuWizardControls[] = {
    // name, kind, left, top, width, height, initial picture, pointer, text
    {"Label1", kLabel, 8900, 6840, 550, 255, "", kArrow, "V 2.0"},
    {"imgHelp", kImage, 3390, 5480, 5850, 1095, "", kArrow, ""},
    {"imgExit", kImage, 530, 6250, 1965, 330, "wizard_imgExit.gif", kHand, ""},
    {"imgDocumentation", kImage, 570, 5360, 1965, 330, "wizard_imgDocumentation.gif", kHand, ""},
    {"imgManualInstallation", kImage, 510, 3795, 2970, 330, "wizard_imgManualInstallation.gif",
     kHand, ""},
    {"OLE1", kBackground, 0, 0, 9600, 7200, "wizard_background.png", kArrow, ""},
};
constexpr FormLayout kModelMenuWizard = {"wizard", "Ondrix", 9600, 7185, kModelMenuWizardControls,
                                         6,        false};

// modelmenu, Simplified Chinese: 1 px narrower and 7 px shorter.
constexpr ControlLayout kModelMenuWizardZhCNControls[] = {
    {"Label1", kLabel, 8900, 6840, 550, 255, "", kArrow, "V 2.0"},
    {"imgManualInstallation", kImage, 570, 3855, 2940, 330, "wizard_zhCN_imgManualInstallation.gif",
     kHand, ""},
    {"imgDocumentation", kImage, 565, 5400, 1230, 330, "wizard_zhCN_imgDocumentation.gif", kHand,
     ""},
    {"imgExit", kImage, 565, 6310, 675, 330, "wizard_zhCN_imgExit.gif", kHand, ""},
    {"imgHelp", kImage, 3460, 5360, 5800, 1200, "", kArrow, ""},
    {"OLE1", kBackground, 0, 0, 9600, 7200, "wizard_zhCN_background.png", kArrow, ""},
};
constexpr FormLayout kModelMenuWizardZhCN = {
    "wizard_zhCN", "Ondrix", 9585, 7080, kModelMenuWizardZhCNControls, 6, false};

// discmenu, the model chooser. The control names are shared with the model
// menu's windows; here imgManualInstallation, imgSetupWizard,
// imgDocumentation and imgHelp are models A to D. Image1..Image13 are the
// reset zones around the buttons.
constexpr ControlLayout kDiscMenuWizardControls[] = {
    {"Image13", kImage, 8055, 6570, 735, 75, "", kArrow, ""},
    {"Image12", kImage, 8055, 6120, 735, 75, "", kArrow, ""},
    {"Image11", kImage, 8790, 6195, 75, 375, "", kArrow, ""},
    {"Image10", kImage, 7980, 6195, 75, 375, "", kArrow, ""},
    {"Image9", kImage, 5800, 4825, 2415, 75, "", kArrow, ""},
    {"Image8", kImage, 5800, 4225, 2415, 75, "", kArrow, ""},
    {"Image7", kImage, 5800, 3625, 2415, 75, "", kArrow, ""},
    {"Image6", kImage, 5800, 5430, 2415, 75, "", kArrow, ""},
    {"Image5", kImage, 5800, 2920, 2415, 75, "", kArrow, ""},
    {"Image4", kImage, 8235, 4320, 75, 1215, "", kArrow, ""},
    {"Image3", kImage, 8235, 3000, 75, 1335, "", kArrow, ""},
    {"Image2", kImage, 5730, 4320, 75, 1215, "", kArrow, ""},
    {"Image1", kImage, 5730, 3000, 75, 1335, "", kArrow, ""},
    {"imgHelp", kImage, 5820, 4905, 2400, 510, "wizard_imgHelp.gif", kHand, ""},
    {"imgExit", kImage, 8055, 6195, 735, 375, "wizard_imgExit.gif", kHand, ""},
    {"imgDocumentation", kImage, 5820, 4300, 2400, 510, "wizard_imgDocumentation.gif", kHand, ""},
    {"imgManualInstallation", kImage, 5820, 3105, 2400, 510, "wizard_imgManualInstallation.gif",
     kHand, ""},
    {"imgSetupWizard", kImage, 5820, 3700, 2400, 510, "wizard_imgSetupWizard.gif", kHand, ""},
    {"OLE1", kBackground, 0, 0, 9600, 7200, "wizard_background.png", kArrow, ""},
};
constexpr FormLayout kDiscMenuWizard = {"wizard", "Norvane", 9600, 7185, kDiscMenuWizardControls,
                                        19,       false};

}  // namespace menu
