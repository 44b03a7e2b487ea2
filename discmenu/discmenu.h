// The model chooser of the disc root: four model buttons that light up when
// hovered and start their model's menu program on a left release, the exit
// button, and the reset zones around them, as table rows for the
// image-button engine.
#pragma once

#include "menu/image_button.h"

namespace discmenu {

enum Flag : int { kLitModelA = 0, kLitModelB, kLitModelC, kLitModelD, kLitExit };

extern const menu::MenuSpec kWizard;

}  // namespace discmenu
