#include "modelmenu/modelmenu.h"

#include "menu/layouts.h"
#include "startup/edition.h"

namespace modelmenu {

using menu::Action;
using menu::ButtonSpec;
using menu::FlagBit;
using menu::HoverTarget;
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

// The installer and the documentation button. Names are the words on their
// pictures and descriptions what their help pictures say, for screen readers.
constexpr ButtonSpec kWizardButtons[] = {
    {.control = "imgManualInstallation",
     .name = "Windows XP/Vista/7/8",
     .description = "Install the Ondrix software. Installs the Ondrix print-server software and "
                    "driver for the NV-QX480K on Windows XP, Vista, 7 and 8.",
     .normalPicture = "setup\\images\\Windows-XP-Vista-7.gif",
     .pressedPicture = "setup\\images\\Windows-XP-Vista-7-1.gif",
     .pressBox = {3270, 330},
     .hoverTarget = HoverTarget::kHelpPanel,
     .hoverPicture = "setup\\images\\ManualInstallationHelp.gif",
     .hoverBox = {3270, 330},
     .ownFlag = kHelpShownManualInstallation,
     .clearsWhenShown = FlagBit(kHelpShownDocumentation),
     .restoreCursorAfterPress = true,
     .release = ReleaseKind::kBoxed,
     .releaseBox = {2805, 330},
     .leftButtonOnly = false,
     .skipActionErrors = true,
     .action = kStartInstaller},
    {.control = "imgDocumentation",
     .name = "Documentation",
     .description = "User guide. Opens the NV-QX480K user guide (HTML) from this disc in your web "
                    "browser.",
     .normalPicture = "setup\\images\\Documentation.gif",
     .pressedPicture = "setup\\images\\Documentationdown.gif",
     .pressBox = {1965, 330},
     .hoverTarget = HoverTarget::kHelpPanel,
     .hoverPicture = "setup\\images\\documentationhelp.gif",
     .hoverBox = {1965, 330},
     .ownFlag = kHelpShownDocumentation,
     .clearsWhenShown = FlagBit(kHelpShownManualInstallation),
     .restoreCursorAfterPress = true,
     .release = ReleaseKind::kPlain,
     .action = kOpenDocumentation},
};

constexpr ButtonSpec kWizardZhCNButtons[] = {
    {.control = "imgManualInstallation",
     .name = "Windows XP/Vista/7/8",
     .description = "安装 Ondrix 软件。安装 NV-QX480K 打印服务器的 Ondrix 软件和驱动程序，"
                    "适用于 Windows XP、Vista、7 和 8。",
     .normalPicture = "setup\\images\\zhCN\\Windows-XP-Vista-7.gif",
     .pressedPicture = "setup\\images\\zhCN\\Windows-XP-Vista-7-1.gif",
     .pressBox = {3285, 330},
     .hoverTarget = HoverTarget::kHelpPanel,
     .hoverPicture = "setup\\images\\zhCN\\ManualInstallationHelp.gif",
     .hoverBox = {2730, 330},
     .ownFlag = kHelpShownManualInstallation,
     .clearsWhenShown = FlagBit(kHelpShownDocumentation),
     .restoreCursorAfterPress = true,
     .release = ReleaseKind::kBoxed,
     .releaseBox = {3285, 330},
     .leftButtonOnly = false,
     .skipActionErrors = true,
     .action = kStartInstaller},
    {.control = "imgDocumentation",
     .name = "用户手册",
     .description = "用户手册。打开光盘上的 NV-QX480K 用户手册（英文版）。",
     .normalPicture = "setup\\images\\zhCN\\Documentation.gif",
     .pressedPicture = "setup\\images\\zhCN\\Documentationdown.gif",
     .pressBox = {1230, 330},
     .hoverTarget = HoverTarget::kHelpPanel,
     .hoverPicture = "setup\\images\\zhCN\\documentationhelp.gif",
     .hoverBox = {1230, 330},
     .ownFlag = kHelpShownDocumentation,
     .clearsWhenShown = FlagBit(kHelpShownManualInstallation),
     .restoreCursorAfterPress = true,
     .release = ReleaseKind::kPlain,
     .action = kOpenDocumentation},
};

// The exit button: every hover empties the help panel, then resets both
// flags; a click unloads the window.
constexpr menu::FlagSet kBothFlags =
    FlagBit(kHelpShownManualInstallation) | FlagBit(kHelpShownDocumentation);
constexpr ResetSpec kExit[] = {
    {.control = "imgExit",
     .name = "Exit",
     .description = "Closes this menu.",
     .clears = kBothFlags,
     .flagsFirst = false,
     .pictures = {{"imgHelp", ""}},
     .click = menu::kUnload},
};
constexpr ResetSpec kExitZhCN[] = {
    {.control = "imgExit",
     .name = "退出",
     .description = "关闭此菜单。",
     .clears = kBothFlags,
     .flagsFirst = false,
     .pictures = {{"imgHelp", ""}},
     .click = menu::kUnload},
};

constexpr std::string_view kFocusOrder[] = {"imgManualInstallation", "imgDocumentation", "imgExit"};

}  // namespace

const menu::MenuSpec kWizard = {.layout = &menu::kModelMenuWizard,
                                .helpPanel = "imgHelp",
                                .loadHelpPicture = "setup\\images\\help.gif",
                                .flagNames = kFlagNames,
                                .buttons = kWizardButtons,
                                .resets = kExit,
                                .focusOrder = kFocusOrder};
const menu::MenuSpec kWizardZhCN = {.layout = &menu::kModelMenuWizardZhCN,
                                    .helpPanel = "imgHelp",
                                    .loadHelpPicture = "setup\\images\\zhCN\\help.gif",
                                    .flagNames = kFlagNames,
                                    .buttons = kWizardZhCNButtons,
                                    .resets = kExitZhCN,
                                    .focusOrder = kFocusOrder};

}  // namespace modelmenu
