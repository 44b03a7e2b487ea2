// Prints every disc path the programs use, from their own tables, one per
// line as "<kind> <path>" with back-slashes: the pictures (with the pixel
// size of the control they go into, or of the help panel), the busy cursor,
// the programs and documents they start. Checks of a staged disc or an image
// read this instead of a copy of the names.
#include <cstdio>
#include <set>
#include <string>

#include "discmenu/discmenu.h"
#include "modelmenu/modelmenu.h"

namespace {

void Picture(std::set<std::string>& out, const menu::MenuSpec& table, std::string_view control,
             const char* path) {
  if (!path || !*path) return;
  for (const platform::ControlLayout& c : table.layout->controls) {
    if (c.name != control) continue;
    out.insert("picture " + std::string(path) + " " +
               std::to_string(platform::TwipsToPixel(c.width)) + " " +
               std::to_string(platform::TwipsToPixel(c.height)));
  }
}

}  // namespace

int main() {
  std::set<std::string> out;
  for (const menu::MenuSpec* table :
       {&modelmenu::kWizard, &modelmenu::kWizardZhCN, &discmenu::kWizard}) {
    if (table->loadHelpPicture) Picture(out, *table, table->helpPanel, table->loadHelpPicture);
    for (const menu::ButtonSpec& b : table->buttons) {
      Picture(out, *table, b.control, b.normalPicture);
      Picture(out, *table, b.control, b.pressedPicture);
      Picture(out, *table,
              b.hoverTarget == menu::HoverTarget::kHelpPanel ? table->helpPanel : b.control,
              b.hoverPicture);
      if (b.action.run == menu::StartProgram) out.insert("program " + std::string(b.action.target));
    }
  }
  out.insert("cursor " + std::string(menu::kBusyCursor));
  out.insert("document " + std::string(modelmenu::kUserGuide));
  for (const std::string& line : out) std::printf("%s\n", line.c_str());
  return 0;
}
