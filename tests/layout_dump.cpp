// Prints every menu window of both programs from their layout tables, so
// that the end-to-end tests check the windows the programs build rather than
// a copy of them. One line a window, then one line a control, front to back,
// fields separated by tabs:
//   window   <program> <form> <caption> <client width> <client height>
//   control  <name> <kind> <left> <top> <width> <height> <pointer> <picture>
// Geometry in twips; kind is image, label or background; pointer is arrow or
// hand; picture is the built-in initial picture, "-" for none.
#include <cstdio>
#include <string>

#include "discmenu/discmenu.h"
#include "modelmenu/modelmenu.h"

namespace {

const char* KindName(platform::ControlKind kind) {
  switch (kind) {
    case platform::ControlKind::kImage:
      return "image";
    case platform::ControlKind::kLabel:
      return "label";
    case platform::ControlKind::kBackground:
      return "background";
  }
  return "?";
}

void Print(const char* program, const platform::FormLayout& form) {
  std::printf("window\t%s\t%s\t%s\t%d\t%d\n", program, std::string(form.name).c_str(),
              std::string(form.caption).c_str(), form.clientWidth, form.clientHeight);
  for (const platform::ControlLayout& c : form.controls) {
    const std::string picture = c.picture.empty() ? "-" : std::string(c.picture);
    std::printf("control\t%s\t%s\t%d\t%d\t%d\t%d\t%s\t%s\n", std::string(c.name).c_str(),
                KindName(c.kind), c.left, c.top, c.width, c.height,
                c.pointer == platform::Pointer::kHand ? "hand" : "arrow", picture.c_str());
  }
}

}  // namespace

int main() {
  Print("modelmenu", *modelmenu::kWizard.layout);
  Print("modelmenu", *modelmenu::kWizardZhCN.layout);
  Print("discmenu", *discmenu::kWizard.layout);
  return 0;
}
