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
constexpr FormLayout kStartForm = {.name = "autorun",
                                   .caption = "Form1",
                                   .clientWidth = 4800,
                                   .clientHeight = 3600,
                                   .startForm = true};

// clang-format off
// One control a line: name, kind, left, top, width, height (twips),
// initial picture, pointer, text.

// modelmenu, English.
constexpr ControlLayout kModelMenuWizardControls[] = {
    {.name = "Label1", .kind = kLabel, .left = 8900, .top = 6840, .width = 550, .height = 255, .text = "V 2.0"},
    {.name = "imgHelp", .kind = kImage, .left = 3390, .top = 5480, .width = 5850, .height = 1095},
    {.name = "imgExit", .kind = kImage, .left = 530, .top = 6250, .width = 1965, .height = 330, .picture = "wizard_imgExit.gif", .pointer = kHand},
    {.name = "imgDocumentation", .kind = kImage, .left = 570, .top = 5360, .width = 1965, .height = 330, .picture = "wizard_imgDocumentation.gif", .pointer = kHand},
    {.name = "imgManualInstallation", .kind = kImage, .left = 510, .top = 3795, .width = 2970, .height = 330, .picture = "wizard_imgManualInstallation.gif", .pointer = kHand},
    {.name = "OLE1", .kind = kBackground, .left = 0, .top = 0, .width = 9600, .height = 7200, .picture = "wizard_background.png"},
};

// modelmenu, Simplified Chinese: 1 px narrower and 7 px shorter.
constexpr ControlLayout kModelMenuWizardZhCNControls[] = {
    {.name = "Label1", .kind = kLabel, .left = 8900, .top = 6840, .width = 550, .height = 255, .text = "V 2.0"},
    {.name = "imgManualInstallation", .kind = kImage, .left = 570, .top = 3855, .width = 2940, .height = 330, .picture = "wizard_zhCN_imgManualInstallation.gif", .pointer = kHand},
    {.name = "imgDocumentation", .kind = kImage, .left = 565, .top = 5400, .width = 1230, .height = 330, .picture = "wizard_zhCN_imgDocumentation.gif", .pointer = kHand},
    {.name = "imgExit", .kind = kImage, .left = 565, .top = 6310, .width = 675, .height = 330, .picture = "wizard_zhCN_imgExit.gif", .pointer = kHand},
    {.name = "imgHelp", .kind = kImage, .left = 3460, .top = 5360, .width = 5800, .height = 1200},
    {.name = "OLE1", .kind = kBackground, .left = 0, .top = 0, .width = 9600, .height = 7200, .picture = "wizard_zhCN_background.png"},
};

// discmenu, the model chooser. The control names are shared with the model
// menu's windows; here imgManualInstallation, imgSetupWizard,
// imgDocumentation and imgHelp are models A to D. Image1..Image13 are the
// reset zones around the buttons.
constexpr ControlLayout kDiscMenuWizardControls[] = {
    {.name = "Image13", .kind = kImage, .left = 8055, .top = 6570, .width = 735, .height = 75},
    {.name = "Image12", .kind = kImage, .left = 8055, .top = 6120, .width = 735, .height = 75},
    {.name = "Image11", .kind = kImage, .left = 8790, .top = 6195, .width = 75, .height = 375},
    {.name = "Image10", .kind = kImage, .left = 7980, .top = 6195, .width = 75, .height = 375},
    {.name = "Image9", .kind = kImage, .left = 5800, .top = 4825, .width = 2415, .height = 75},
    {.name = "Image8", .kind = kImage, .left = 5800, .top = 4225, .width = 2415, .height = 75},
    {.name = "Image7", .kind = kImage, .left = 5800, .top = 3625, .width = 2415, .height = 75},
    {.name = "Image6", .kind = kImage, .left = 5800, .top = 5430, .width = 2415, .height = 75},
    {.name = "Image5", .kind = kImage, .left = 5800, .top = 2920, .width = 2415, .height = 75},
    {.name = "Image4", .kind = kImage, .left = 8235, .top = 4320, .width = 75, .height = 1215},
    {.name = "Image3", .kind = kImage, .left = 8235, .top = 3000, .width = 75, .height = 1335},
    {.name = "Image2", .kind = kImage, .left = 5730, .top = 4320, .width = 75, .height = 1215},
    {.name = "Image1", .kind = kImage, .left = 5730, .top = 3000, .width = 75, .height = 1335},
    {.name = "imgHelp", .kind = kImage, .left = 5820, .top = 4905, .width = 2400, .height = 510, .picture = "wizard_imgHelp.gif", .pointer = kHand},
    {.name = "imgExit", .kind = kImage, .left = 8055, .top = 6195, .width = 735, .height = 375, .picture = "wizard_imgExit.gif", .pointer = kHand},
    {.name = "imgDocumentation", .kind = kImage, .left = 5820, .top = 4300, .width = 2400, .height = 510, .picture = "wizard_imgDocumentation.gif", .pointer = kHand},
    {.name = "imgManualInstallation", .kind = kImage, .left = 5820, .top = 3105, .width = 2400, .height = 510, .picture = "wizard_imgManualInstallation.gif", .pointer = kHand},
    {.name = "imgSetupWizard", .kind = kImage, .left = 5820, .top = 3700, .width = 2400, .height = 510, .picture = "wizard_imgSetupWizard.gif", .pointer = kHand},
    {.name = "OLE1", .kind = kBackground, .left = 0, .top = 0, .width = 9600, .height = 7200, .picture = "wizard_background.png"},
};
// clang-format on

constexpr FormLayout kModelMenuWizard = {.name = "wizard",
                                         .caption = "Ondrix",
                                         .clientWidth = 9600,
                                         .clientHeight = 7185,
                                         .controls = kModelMenuWizardControls};
constexpr FormLayout kModelMenuWizardZhCN = {.name = "wizard_zhCN",
                                             .caption = "Ondrix",
                                             .clientWidth = 9585,
                                             .clientHeight = 7080,
                                             .controls = kModelMenuWizardZhCNControls};
constexpr FormLayout kDiscMenuWizard = {.name = "wizard",
                                        .caption = "Norvane",
                                        .clientWidth = 9600,
                                        .clientHeight = 7185,
                                        .controls = kDiscMenuWizardControls};

}  // namespace menu
