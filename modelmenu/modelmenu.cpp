#include "modelmenu/modelmenu.h"

#include "menu/layouts.h"
#include "startup/edition.h"

namespace modelmenu {

using menu::Action;
using menu::ButtonSpec;
using menu::FlagBit;
using menu::HoverTarget;
using menu::kNoAction;
using menu::kNoBox;
using menu::ReleaseKind;
using menu::ResetSpec;

void OpenDocumentation(menu::MenuWindow& window, const char* /*unused*/) {
  platform::Platform& p = window.platform();
  // Every name is asked for and compared, each with a query of its own.
  bool folder = false;
  for (const char* edition : kFolderEditions) {
    if (startup::GetWindowsEdition(p) == edition) folder = true;
  }
  if (folder) {
    p.Shell(kFolderCommand, platform::kShowNormal);
  } else {
    p.ShellExecuteA(p.FormHandle(window.form()), "open", kUserGuide, "", "", platform::kShowNormal);
  }
}

namespace {

const char* const kFlagNames[] = {"mHelpShownManualInstallation", "mHelpShownDocumentation"};

constexpr Action kStartInstaller = {menu::StartProgram, kInstaller};
constexpr Action kOpenDocumentation = {OpenDocumentation, nullptr};
constexpr bool kRestore = true;
constexpr bool kAnyButton = false;
constexpr bool kSkipErrors = true;

// Columns: control; normal, pressed picture; press box; hover target, hover
// picture, hover box; own flag, flags cleared when shown, flags cleared at
// every hover; cursor restored after press; release kind, release box, left
// button only, action errors skipped; release action; click action.
constexpr ButtonSpec kWizardButtons[] = {
    {"imgManualInstallation",
     "setup\\images\\Windows-XP-Vista-7.gif",
     "setup\\images\\Windows-XP-Vista-7-1.gif",
     {3270, 330},
     HoverTarget::kHelpPanel,
     "setup\\images\\ManualInstallationHelp.gif",
     {3270, 330},
     kHelpShownManualInstallation,
     FlagBit(kHelpShownDocumentation),
     0,
     kRestore,
     ReleaseKind::kBoxed,
     {2805, 330},
     kAnyButton,
     kSkipErrors,
     kStartInstaller,
     kNoAction},
    {"imgDocumentation",
     "setup\\images\\Documentation.gif",
     "setup\\images\\Documentationdown.gif",
     {1965, 330},
     HoverTarget::kHelpPanel,
     "setup\\images\\documentationhelp.gif",
     {1965, 330},
     kHelpShownDocumentation,
     FlagBit(kHelpShownManualInstallation),
     0,
     kRestore,
     ReleaseKind::kPlain,
     kNoBox,
     kAnyButton,
     !kSkipErrors,
     kOpenDocumentation,
     kNoAction},
};

constexpr ButtonSpec kWizardZhCNButtons[] = {
    {"imgManualInstallation",
     "setup\\images\\zhCN\\Windows-XP-Vista-7.gif",
     "setup\\images\\zhCN\\Windows-XP-Vista-7-1.gif",
     {3285, 330},
     HoverTarget::kHelpPanel,
     "setup\\images\\zhCN\\ManualInstallationHelp.gif",
     {2730, 330},
     kHelpShownManualInstallation,
     FlagBit(kHelpShownDocumentation),
     0,
     kRestore,
     ReleaseKind::kBoxed,
     {3285, 330},
     kAnyButton,
     kSkipErrors,
     kStartInstaller,
     kNoAction},
    {"imgDocumentation",
     "setup\\images\\zhCN\\Documentation.gif",
     "setup\\images\\zhCN\\Documentationdown.gif",
     {1230, 330},
     HoverTarget::kHelpPanel,
     "setup\\images\\zhCN\\documentationhelp.gif",
     {1230, 330},
     kHelpShownDocumentation,
     FlagBit(kHelpShownManualInstallation),
     0,
     kRestore,
     ReleaseKind::kPlain,
     kNoBox,
     kAnyButton,
     !kSkipErrors,
     kOpenDocumentation,
     kNoAction},
};

// The exit button: every hover empties the help panel, then resets both
// flags; a click unloads the window.
constexpr ResetSpec kExit[] = {
    {"imgExit",
     FlagBit(kHelpShownManualInstallation) | FlagBit(kHelpShownDocumentation),
     false,
     {{"imgHelp", ""}, {"", nullptr}},
     1,
     menu::kUnload},
};

}  // namespace

const menu::MenuSpec kWizard = {&menu::kModelMenuWizard,
                                "imgHelp",
                                "setup\\images\\help.gif",
                                2,
                                kFlagNames,
                                kWizardButtons,
                                2,
                                kExit,
                                1};
const menu::MenuSpec kWizardZhCN = {&menu::kModelMenuWizardZhCN,
                                    "imgHelp",
                                    "setup\\images\\zhCN\\help.gif",
                                    2,
                                    kFlagNames,
                                    kWizardZhCNButtons,
                                    2,
                                    kExit,
                                    1};

}  // namespace modelmenu
