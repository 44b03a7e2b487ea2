#include "harness.h"

#include <stdexcept>

namespace testing_support {

const menu::MenuSpec& SpecFor(Deliverable program, MenuChoice choice) {
  if (program == Deliverable::kDiscMenu) return discmenu::kWizard;
  return choice == MenuChoice::kSimplifiedChinese ? modelmenu::kWizardZhCN : modelmenu::kWizard;
}

namespace {

int PixelSize(int twips) {
  return (twips + platform::kTwipsPerPixel - 1) / platform::kTwipsPerPixel;
}

const platform::ControlLayout& LayoutOf(const menu::MenuSpec& table, std::string_view name) {
  for (const platform::ControlLayout& c : table.layout->controls) {
    if (c.name == name) return c;
  }
  throw std::logic_error("no control");
}

void AddOwnPicture(FakePlatform& fake, const menu::MenuSpec& table, std::string_view control,
                   const char* path) {
  if (!path || !*path) return;
  const platform::ControlLayout& c = LayoutOf(table, control);
  fake.AddPicture(path, PixelSize(c.width), PixelSize(c.height));
}

}  // namespace

void Harness::FillDisc(FakePlatform& fake) {
  const menu::MenuSpec* specs[] = {&modelmenu::kWizard, &modelmenu::kWizardZhCN,
                                   &discmenu::kWizard};
  for (const menu::MenuSpec* table : specs) {
    for (const menu::ButtonSpec& b : table->buttons) {
      AddOwnPicture(fake, *table, b.control, b.normalPicture);
      AddOwnPicture(fake, *table, b.control, b.pressedPicture);
      const std::string_view target =
          b.hoverTarget == menu::HoverTarget::kHelpPanel ? table->helpPanel : b.control;
      AddOwnPicture(fake, *table, target, b.hoverPicture);
    }
    if (table->loadHelpPicture)
      AddOwnPicture(fake, *table, table->helpPanel, table->loadHelpPicture);
  }
  fake.AddFile(menu::kBusyCursor);
  fake.AddFile(modelmenu::kInstaller);
  fake.AddFile(modelmenu::kUserGuide);
  fake.AddFile("explorer.exe");
  fake.AddFile("NV-QX120E_NV-QX120K\\autorun2.exe");
  fake.AddFile("NV-QX480K\\autorun3.exe");
  fake.AddFile("NV-WQX640K\\autorun4.exe");
}

void Harness::Start(std::uint16_t language) {
  fake.languageId = language;
  const menu::MenuSpec& english = SpecFor(program_, MenuChoice::kEnglish);
  const menu::MenuSpec* chinese = program_ == Deliverable::kModelMenu
                                      ? &SpecFor(program_, MenuChoice::kSimplifiedChinese)
                                      : nullptr;
  started_ = std::make_unique<startup::Program>(toolkit, program_, english, chinese);
  started_->Start();
}

menu::MenuWindow& Harness::Window() {
  for (MenuChoice c : {MenuChoice::kEnglish, MenuChoice::kSimplifiedChinese}) {
    if (menu::MenuWindow* w = started_->Window(c)) return *w;
  }
  throw std::logic_error("no menu window");
}

int Harness::Ctl(const std::string& name) {
  const int i = Form().ControlIndex(name);
  if (i < 0) throw std::logic_error("no control " + name);
  return i;
}

std::string Harness::Shows(const std::string& control) {
  const platform::Picture& p = Form().Control(Ctl(control)).picture;
  return p ? p->source : "(empty)";
}

void Harness::Down(const std::string& control, float x, float y, int button) {
  const int c = Ctl(control);
  toolkit.Run([&] { Window().MouseDown(c, button, 0, x, y); });
}
void Harness::Move(const std::string& control, float x, float y, int button) {
  const int c = Ctl(control);
  toolkit.Run([&] { Window().MouseMove(c, button, 0, x, y); });
}
void Harness::Up(const std::string& control, float x, float y, int button) {
  const int c = Ctl(control);
  toolkit.Run([&] { Window().MouseUp(c, button, 0, x, y); });
}
void Harness::Click(const std::string& control) {
  const int c = Ctl(control);
  toolkit.Run([&] { Window().Click(c); });
}

void Harness::PixelOf(const std::string& control, int x, int y, int& px, int& py) {
  const platform::ControlState& c = Form().Control(Ctl(control));
  px = (c.left + x) / platform::kTwipsPerPixel;
  py = (c.top + y) / platform::kTwipsPerPixel;
}

}  // namespace testing_support
