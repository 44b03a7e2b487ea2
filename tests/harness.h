// Test harness: a started program (modelmenu or discmenu) on the fake
// platform, with a disc that holds every file the menus use, and helpers
// that raise control events by name with coordinates in twips.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "discmenu/discmenu.h"
#include "fake_platform.h"
#include "modelmenu/modelmenu.h"
#include "platform/toolkit.h"
#include "startup/startup.h"

namespace testing_support {

using startup::Deliverable;
using startup::MenuChoice;

class Harness {
 public:
  explicit Harness(Deliverable program) : program_(program) { FillDisc(fake); }

  FakePlatform fake;
  platform::Toolkit toolkit{fake};

  // Starts the program as the toolkit does, under a language identifier.
  void Start(std::uint16_t language = 1033);

  menu::MenuWindow& Window();
  platform::Form& Form() { return Window().form(); }
  int Ctl(const std::string& name);
  int Flag(const std::string& name) { return Window().Flag(Window().FlagIndex(name)); }
  // What a control shows: the picture's path, or "(empty)".
  std::string Shows(const std::string& control);

  // Control events, each run as one event by the toolkit.
  void Down(const std::string& control, float x, float y, int button = platform::kLeftButton);
  void Move(const std::string& control, float x, float y, int button = 0);
  void Up(const std::string& control, float x, float y, int button = platform::kLeftButton);
  void Click(const std::string& control);

  // Client pixel of a point given in twips relative to a control.
  void PixelOf(const std::string& control, int x, int y, int& px, int& py);

  // Fills a disc with every picture at its size and the started programs.
  static void FillDisc(FakePlatform& fake);

 private:
  Deliverable program_;
  std::unique_ptr<startup::Program> started_;
};

const menu::MenuSpec& SpecFor(Deliverable program, MenuChoice choice);

}  // namespace testing_support
