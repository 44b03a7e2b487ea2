// The menu of the NV-QX480K model: its two windows' buttons as table rows
// (installer, documentation, exit, help panel) and the documentation action,
// which opens the user guide as a folder or as a page by the running
// Windows edition. The rules the rows drive are the image-button engine's.
#pragma once

#include "menu/image_button.h"

namespace modelmenu {

constexpr const char* kInstaller = "NV-QX480K\\setup\\utility\\NORVANE_Ondrix_Setup_2.exe";
constexpr const char* kUserGuide = "NV-QX480K\\Manual\\UserGuideEng.html";
constexpr const char* kFolderCommand = "explorer.exe /n,/e, .\\NV-QX480K\\Manual";

// Editions on which the documentation opens as a folder.
constexpr const char* kFolderEditions[] = {"Windows 7", "Windows 8", "Windows 8.1", "Windows Blue"};

// Form-level flags of both windows.
enum Flag : int { kHelpShownManualInstallation = 0, kHelpShownDocumentation = 1 };

// The documentation button's release action.
void OpenDocumentation(menu::MenuWindow& window, const char* unused);

extern const menu::MenuSpec kWizard;      // English
extern const menu::MenuSpec kWizardZhCN;  // Simplified Chinese

}  // namespace modelmenu
