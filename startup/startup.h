// Start-up of both programs: the invisible start form, whose Load reads the
// user's language, shows the menu window that the program's routing picks
// and then unloads itself. The menu windows are created on first use and
// live as long as the program. What the menus look like and do is menu/'s
// and the programs' own.
#pragma once

#include <cstdint>
#include <memory>

#include "menu/image_button.h"
#include "platform/form.h"
#include "platform/toolkit.h"

namespace startup {

enum class Deliverable : std::uint8_t { kModelMenu, kDiscMenu };
enum class MenuChoice : std::uint8_t { kEnglish, kSimplifiedChinese };

// Chinese (People's Republic of China), compared as a signed 16-bit value.
constexpr std::int16_t kLangChinesePRC = 2052;

// The menu a program shows for a language identifier.
MenuChoice Route(Deliverable program, std::uint16_t languageId);

// One program: its start form and its menu windows.
class Program : private platform::FormEvents {
 public:
  // chinese may be null for a program with an English menu only.
  Program(platform::Toolkit& toolkit, Deliverable deliverable, const menu::MenuSpec& english,
          const menu::MenuSpec* chinese);

  // Loads the start form, as the toolkit does when the program starts.
  void Start();

  platform::Form& StartForm() { return startForm_; }
  // The menu window, null until start-up created it.
  menu::MenuWindow* Window(MenuChoice choice) {
    return windows_[static_cast<size_t>(choice)].get();
  }

 private:
  void Load() override;  // the start form's Load
  menu::MenuWindow& Create(MenuChoice choice);

  platform::Toolkit& toolkit_;
  Deliverable deliverable_;
  const menu::MenuSpec* specs_[2];
  std::unique_ptr<menu::MenuWindow> windows_[2];
  platform::Form startForm_;
};

}  // namespace startup
