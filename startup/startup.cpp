#include "startup/startup.h"

#include "menu/layouts.h"

namespace startup {

namespace {

struct RouteRow {
  Deliverable program;
  MenuChoice forChinesePRC;  // every other identifier gets English
};

constexpr RouteRow kRoutes[] = {
    {Deliverable::kModelMenu, MenuChoice::kSimplifiedChinese},
    {Deliverable::kDiscMenu, MenuChoice::kEnglish},
};

}  // namespace

MenuChoice Route(Deliverable program, std::uint16_t languageId) {
  if (static_cast<std::int16_t>(languageId) != kLangChinesePRC) return MenuChoice::kEnglish;
  for (const RouteRow& row : kRoutes) {
    if (row.program == program) return row.forChinesePRC;
  }
  return MenuChoice::kEnglish;
}

Program::Program(platform::Toolkit& toolkit, Deliverable deliverable, const menu::MenuSpec& english,
                 const menu::MenuSpec* chinese)
    : toolkit_(toolkit),
      deliverable_(deliverable),
      specs_{&english, chinese},
      startForm_(toolkit, menu::kStartForm, *this) {}

void Program::Start() {
  toolkit_.Run([this] { toolkit_.Load(startForm_); });
}

menu::MenuWindow& Program::Create(MenuChoice choice) {
  auto& slot = windows_[static_cast<size_t>(choice)];
  const menu::MenuSpec* table = specs_[static_cast<size_t>(choice)];
  if (!table) table = specs_[0];
  if (!slot) slot = std::make_unique<menu::MenuWindow>(toolkit_, *table);
  return *slot;
}

void Program::Load() {
  const std::uint16_t language = toolkit_.platform().GetUserDefaultLangID();
  menu::MenuWindow& menu = Create(Route(deliverable_, language));
  toolkit_.Show(menu.form());
  toolkit_.Unload(startForm_);
}

}  // namespace startup
