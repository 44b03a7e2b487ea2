// The artwork against the code that shows it: every picture that a window
// layout builds in or a button table loads from the disc exists, has the
// size of the control it goes into and is in a form the Windows loaders
// take (GIF, PNG, icons and cursors with BMP entries, RIFF animated
// cursors). File headers are read here byte by byte, with no image library.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "discmenu/discmenu.h"
#include "menu/layouts.h"
#include "modelmenu/modelmenu.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using platform::ControlLayout;
using platform::FormLayout;

std::string FullPath(const std::string& relative) {
  return std::string(SOURCE_ROOT) + "/" + relative;
}

// A path as the programs name it on the disc ("setup\images\help.gif") to
// the demo disc's file in the source tree.
std::string DiscFile(const char* programPath) {
  std::string path = "disc/";
  for (const char* p = programPath; *p != '\0'; ++p) path += *p == '\\' ? '/' : *p;
  return path;
}

bool Load(const std::string& relative, Bytes& bytes) {
  std::ifstream in(FullPath(relative), std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

std::uint32_t U16(const Bytes& b, size_t at) {
  return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t U32(const Bytes& b, size_t at) {
  return U16(b, at) | (U16(b, at + 2) << 16);
}
std::uint32_t BigU32(const Bytes& b, size_t at) {
  return (static_cast<std::uint32_t>(b[at]) << 24) | (static_cast<std::uint32_t>(b[at + 1]) << 16) |
         (static_cast<std::uint32_t>(b[at + 2]) << 8) | b[at + 3];
}
bool Tag(const Bytes& b, size_t at, const char* tag) {
  const std::string t(tag);
  return at + t.size() <= b.size() &&
         std::equal(t.begin(), t.end(), b.begin() + static_cast<long>(at));
}

// ------------------------------------------------------------------- GIF

struct Gif {
  std::string error;  // empty when the header reads well
  int width = 0, height = 0;
  int colours = 0;  // global colour table entries
  bool transparent = false;
  int transparentIndex = -1;
  int imageLeft = -1, imageTop = -1, imageWidth = 0, imageHeight = 0;
  bool localColours = false;
};

Gif ReadGif(const Bytes& b) {
  Gif g;
  if (b.size() < 13 || !(Tag(b, 0, "GIF89a") || Tag(b, 0, "GIF87a"))) {
    g.error = "no GIF signature";
    return g;
  }
  g.width = static_cast<int>(U16(b, 6));
  g.height = static_cast<int>(U16(b, 8));
  const int packed = b[10];
  g.colours = (packed & 0x80) != 0 ? 2 << (packed & 7) : 0;
  size_t pos = 13 + 3 * static_cast<size_t>(g.colours);
  while (pos < b.size()) {
    if (b[pos] == 0x21 && pos + 2 < b.size()) {  // extension
      if (b[pos + 1] == 0xF9 && pos + 7 < b.size() && b[pos + 2] == 4) {
        g.transparent = (b[pos + 3] & 1) != 0;
        if (g.transparent) g.transparentIndex = b[pos + 6];
      }
      pos += 2;
      while (pos < b.size() && b[pos] != 0) pos += b[pos] + 1u;
      ++pos;
    } else if (b[pos] == 0x2C && pos + 9 < b.size()) {  // first image
      g.imageLeft = static_cast<int>(U16(b, pos + 1));
      g.imageTop = static_cast<int>(U16(b, pos + 3));
      g.imageWidth = static_cast<int>(U16(b, pos + 5));
      g.imageHeight = static_cast<int>(U16(b, pos + 7));
      g.localColours = (b[pos + 9] & 0x80) != 0;
      if (g.colours == 0 && !g.localColours) g.error = "no colour table";
      if (g.transparent && g.transparentIndex >= g.colours)
        g.error = "transparent index outside the colours";
      if (b.back() != 0x3B) g.error = "no trailer";
      return g;
    } else {
      break;
    }
  }
  g.error = "no image";
  return g;
}

// A GIF of the tree, or a failure that names it.
::testing::AssertionResult LoadGif(const std::string& relative, Gif& gif) {
  Bytes bytes;
  if (!Load(relative, bytes)) return ::testing::AssertionFailure() << relative << " is missing";
  gif = ReadGif(bytes);
  if (!gif.error.empty()) return ::testing::AssertionFailure() << relative << ": " << gif.error;
  if (gif.imageLeft != 0 || gif.imageTop != 0 || gif.imageWidth != gif.width ||
      gif.imageHeight != gif.height) {
    return ::testing::AssertionFailure() << relative << ": the image does not fill the screen";
  }
  return ::testing::AssertionSuccess();
}

// ------------------------------------------------------------------- PNG

struct Png {
  std::string error;
  int width = 0, height = 0, bitDepth = 0, colourType = -1;
};

Png ReadPng(const Bytes& b) {
  Png p;
  static const std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (b.size() < 33 || !std::equal(std::begin(kSignature), std::end(kSignature), b.begin())) {
    p.error = "no PNG signature";
  } else if (BigU32(b, 8) != 13 || !Tag(b, 12, "IHDR")) {
    p.error = "IHDR is not the first chunk";
  } else {
    p.width = static_cast<int>(BigU32(b, 16));
    p.height = static_cast<int>(BigU32(b, 20));
    p.bitDepth = b[24];
    p.colourType = b[25];
  }
  return p;
}

// ------------------------------------------------------- icons, cursors

struct IconEntry {
  int width = 0, height = 0, colourCount = 0;
  int planesOrHotX = 0, bitsOrHotY = 0;
  bool png = false;
  int dibWidth = 0, dibHeight = 0, dibPlanes = 0, dibBits = 0;
  size_t dib = 0, dibSize = 0;  // where the entry's bytes are
};

struct IconFile {
  std::string error;
  int type = 0;  // 1 icon, 2 cursor
  std::vector<IconEntry> entries;
};

IconFile ReadIcon(const Bytes& b) {
  IconFile f;
  if (b.size() < 6 || U16(b, 0) != 0) {
    f.error = "no icon header";
    return f;
  }
  f.type = static_cast<int>(U16(b, 2));
  const size_t count = U16(b, 4);
  if (count == 0 || b.size() < 6 + 16 * count) {
    f.error = "no entries";
    return f;
  }
  for (size_t i = 0; i < count; ++i) {
    const size_t at = 6 + 16 * i;
    IconEntry e;
    e.width = b[at] == 0 ? 256 : b[at];
    e.height = b[at + 1] == 0 ? 256 : b[at + 1];
    e.colourCount = b[at + 2];
    e.planesOrHotX = static_cast<int>(U16(b, at + 4));
    e.bitsOrHotY = static_cast<int>(U16(b, at + 6));
    e.dibSize = U32(b, at + 8);
    e.dib = U32(b, at + 12);
    if (e.dib + e.dibSize > b.size() || e.dibSize < 40) {
      f.error = "entry outside the file";
      return f;
    }
    e.png = Tag(b, e.dib, "\x89PNG");
    if (!e.png) {
      if (U32(b, e.dib) != 40) {
        f.error = "entry is neither PNG nor a BITMAPINFOHEADER";
        return f;
      }
      e.dibWidth = static_cast<int>(U32(b, e.dib + 4));
      e.dibHeight = static_cast<int>(U32(b, e.dib + 8));
      e.dibPlanes = static_cast<int>(U16(b, e.dib + 12));
      e.dibBits = static_cast<int>(U16(b, e.dib + 14));
      // Palette, XOR and AND masks must all lie inside the entry.
      const size_t palette = e.dibBits <= 8 ? (size_t{4} << e.dibBits) : 0;
      const size_t w = static_cast<size_t>(e.dibWidth), h = static_cast<size_t>(e.dibHeight / 2);
      const size_t xorRow = (w * static_cast<size_t>(e.dibBits) + 31) / 32 * 4;
      const size_t andRow = (w + 31) / 32 * 4;
      if (e.dibPlanes != 1 || e.dibHeight != 2 * e.height || e.dibWidth != e.width ||
          40 + palette + (xorRow + andRow) * h > e.dibSize) {
        f.error = "BMP entry does not match its directory entry";
        return f;
      }
    }
    f.entries.push_back(e);
  }
  return f;
}

// Whether a 1-bit cursor entry draws pixel (x, y): a clear AND bit (black
// or white) or a set XOR bit (inverted screen).
bool Draws(const Bytes& b, const IconEntry& e, int x, int y) {
  const size_t w = static_cast<size_t>(e.width), h = static_cast<size_t>(e.height);
  const size_t row = (w + 31) / 32 * 4;
  const size_t xorAt = e.dib + 40 + 8;
  const size_t andAt = xorAt + row * h;
  const size_t line = h - 1 - static_cast<size_t>(y);
  const size_t byte = static_cast<size_t>(x) / 8;
  const int bit = 0x80 >> (x % 8);
  const bool andSet = (b[andAt + line * row + byte] & bit) != 0;
  const bool xorSet = (b[xorAt + line * row + byte] & bit) != 0;
  return !andSet || xorSet;
}

::testing::AssertionResult LoadIcon(const std::string& relative, Bytes& bytes, IconFile& icon) {
  if (!Load(relative, bytes)) return ::testing::AssertionFailure() << relative << " is missing";
  icon = ReadIcon(bytes);
  if (!icon.error.empty()) return ::testing::AssertionFailure() << relative << ": " << icon.error;
  return ::testing::AssertionSuccess();
}

// ---------------------------------------------------------------- layouts

const ControlLayout* FindControl(const FormLayout& form, std::string_view name) {
  for (const ControlLayout& c : form.controls) {
    if (c.name == name) return &c;
  }
  return nullptr;
}

int Pixels(int twips) {
  return platform::TwipsToPixel(twips);
}

// One menu window: its layout, its program's resource folder, the form
// its background takes, and its button table.
struct Window {
  const char* name;
  const FormLayout* layout;
  const char* resources;
  int backgroundWidth, backgroundHeight, backgroundColourType;  // 6 RGBA, 2 RGB
  const menu::MenuSpec* buttons;
};

void PrintTo(const Window& w, std::ostream* os) {
  *os << w.name;
}

class WindowArtwork : public ::testing::TestWithParam<Window> {};

TEST_P(WindowArtwork, BuiltInPicturesExistWithTheirControlsSize) {
  const Window& w = GetParam();
  int backgrounds = 0;
  for (const ControlLayout& c : w.layout->controls) {
    if (c.picture.empty()) continue;
    const std::string file = std::string(w.resources) + std::string(c.picture);
    SCOPED_TRACE(file);
    if (c.kind == platform::ControlKind::kBackground) {
      ++backgrounds;
      Bytes bytes;
      ASSERT_TRUE(Load(file, bytes)) << file << " is missing";
      const Png png = ReadPng(bytes);
      ASSERT_EQ(png.error, "");
      EXPECT_EQ(png.width, w.backgroundWidth);
      EXPECT_EQ(png.height, w.backgroundHeight);
      EXPECT_EQ(png.bitDepth, 8);
      EXPECT_EQ(png.colourType, w.backgroundColourType);
      continue;
    }
    Gif gif;
    ASSERT_TRUE(LoadGif(file, gif));
    EXPECT_EQ(gif.width, Pixels(c.width));
    EXPECT_EQ(gif.height, Pixels(c.height));
  }
  EXPECT_EQ(backgrounds, 1);
}

// A disc picture that goes into a control: exactly its size, or (help
// pictures in the help panel) no larger.
enum class Fit { kExact, kInside };

void ExpectDiscPicture(const char* picture, const FormLayout& form, std::string_view control,
                       Fit fit) {
  const std::string file = DiscFile(picture);
  SCOPED_TRACE(file + " into " + std::string(control));
  const ControlLayout* c = FindControl(form, control);
  ASSERT_NE(c, nullptr) << "the form has no control " << control;
  Gif gif;
  ASSERT_TRUE(LoadGif(file, gif));
  if (fit == Fit::kExact) {
    EXPECT_EQ(gif.width, Pixels(c->width));
    EXPECT_EQ(gif.height, Pixels(c->height));
  } else {
    EXPECT_LE(gif.width, Pixels(c->width));
    EXPECT_LE(gif.height, Pixels(c->height));
  }
}

TEST_P(WindowArtwork, DiscPicturesOfTheButtonTableFitTheirControls) {
  const menu::MenuSpec& table = *GetParam().buttons;
  const FormLayout& form = *table.layout;
  if (table.loadHelpPicture != nullptr) {
    ExpectDiscPicture(table.loadHelpPicture, form, table.helpPanel, Fit::kInside);
  }
  for (const menu::ButtonSpec& b : table.buttons) {
    ExpectDiscPicture(b.normalPicture, form, b.control, Fit::kExact);
    if (b.pressedPicture != nullptr) {
      ExpectDiscPicture(b.pressedPicture, form, b.control, Fit::kExact);
    }
    if (b.hoverTarget == menu::HoverTarget::kSelf) {
      ExpectDiscPicture(b.hoverPicture, form, b.control, Fit::kExact);
    } else if (b.hoverTarget == menu::HoverTarget::kHelpPanel) {
      ExpectDiscPicture(b.hoverPicture, form, table.helpPanel, Fit::kInside);
    }
  }
  for (const menu::ResetSpec& r : table.resets) {
    for (const menu::PictureChange& change : r.pictures) {
      if (change.control.empty()) break;
      if (change.picture == nullptr || *change.picture == '\0') continue;  // the empty picture
      ExpectDiscPicture(change.picture, form, change.control, Fit::kExact);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Windows, WindowArtwork,
    ::testing::Values(Window{"ModelMenuEnglish", &menu::kModelMenuWizard, "resources/modelmenu/",
                             637, 476, 6, &modelmenu::kWizard},
                      Window{"ModelMenuChinese", &menu::kModelMenuWizardZhCN,
                             "resources/modelmenu/", 637, 476, 2, &modelmenu::kWizardZhCN},
                      Window{"DiscMenu", &menu::kDiscMenuWizard, "resources/discmenu/", 640, 480, 2,
                             &discmenu::kWizard}),
    [](const ::testing::TestParamInfo<Window>& param) { return std::string(param.param.name); });

// ----------------------------------------------------------- transparency

// Pictures drawn over a ground of the same colour carry it as their
// transparent colour; the model menu's English documentation and exit
// pictures are opaque, the exit picture in just two colours.
TEST(PictureColours, TransparentWhereTheyAreDrawnOverTheGround) {
  struct Case {
    const char* file;
    bool transparent;
    int colours;  // 0: any number
  };
  const Case cases[] = {
      {"resources/modelmenu/wizard_imgManualInstallation.gif", true, 0},
      {"resources/modelmenu/wizard_imgDocumentation.gif", false, 0},
      {"resources/modelmenu/wizard_imgExit.gif", false, 2},
      {"resources/modelmenu/wizard_zhCN_imgManualInstallation.gif", true, 0},
      {"resources/modelmenu/wizard_zhCN_imgDocumentation.gif", true, 0},
      {"resources/modelmenu/wizard_zhCN_imgExit.gif", true, 0},
      {"resources/discmenu/wizard_imgManualInstallation.gif", true, 0},
      {"resources/discmenu/wizard_imgSetupWizard.gif", true, 0},
      {"resources/discmenu/wizard_imgDocumentation.gif", true, 0},
      {"resources/discmenu/wizard_imgHelp.gif", true, 0},
      {"resources/discmenu/wizard_imgExit.gif", true, 0},
      {"disc/setup/images/Windows-XP-Vista-7.gif", true, 0},
      {"disc/setup/images/Windows-XP-Vista-7-1.gif", true, 0},
      {"disc/setup/images/Documentation.gif", false, 0},
      {"disc/setup/images/Documentationdown.gif", false, 0},
      {"disc/setup/images/zhCN/Windows-XP-Vista-7.gif", true, 0},
      {"disc/setup/images/zhCN/Windows-XP-Vista-7-1.gif", true, 0},
      {"disc/setup/images/zhCN/Documentation.gif", true, 0},
      {"disc/setup/images/zhCN/Documentationdown.gif", true, 0},
      {"disc/setup/images/enUS/NV-QX120E-grey.gif", true, 0},
      {"disc/setup/images/enUS/NV-QX120E-blue.gif", true, 0},
      {"disc/setup/images/enUS/NV-QX120K-grey.gif", true, 0},
      {"disc/setup/images/enUS/NV-QX120K-blue.gif", true, 0},
      {"disc/setup/images/enUS/NV-QX480K-grey.gif", true, 0},
      {"disc/setup/images/enUS/NV-QX480K-blue.gif", true, 0},
      {"disc/setup/images/enUS/NV-WQX640K-grey.gif", true, 0},
      {"disc/setup/images/enUS/NV-WQX640K-blue.gif", true, 0},
      {"disc/setup/images/enUS/NV-EXIT-grey.gif", true, 0},
      {"disc/setup/images/enUS/NV-EXIT-blue.gif", true, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Gif gif;
    ASSERT_TRUE(LoadGif(c.file, gif));
    EXPECT_EQ(gif.transparent, c.transparent);
    EXPECT_FALSE(gif.localColours);
    if (c.colours != 0) {
      EXPECT_EQ(gif.colours, c.colours);
    }
  }
}

// ------------------------------------------------------------------ icons

TEST(ProgramIcons, OneThirtyTwoPixelIconInEachDepth) {
  struct Case {
    const char* file;
    std::vector<int> bits;  // the BMP entries' depths, in order
  };
  const Case cases[] = {
      {"resources/modelmenu/modelmenu.ico", {8, 32}},
      {"resources/discmenu/discmenu.ico", {4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Bytes bytes;
    IconFile icon;
    ASSERT_TRUE(LoadIcon(c.file, bytes, icon));
    EXPECT_EQ(icon.type, 1);
    ASSERT_EQ(icon.entries.size(), c.bits.size());
    for (size_t i = 0; i < c.bits.size(); ++i) {
      const IconEntry& e = icon.entries[i];
      SCOPED_TRACE("entry " + std::to_string(i));
      EXPECT_FALSE(e.png) << "a PNG entry, which Windows XP cannot show";
      EXPECT_EQ(e.width, 32);
      EXPECT_EQ(e.height, 32);
      EXPECT_EQ(e.dibBits, c.bits[i]);
      EXPECT_EQ(e.bitsOrHotY, c.bits[i]);
      EXPECT_EQ(e.planesOrHotX, 1);
      EXPECT_EQ(e.colourCount, c.bits[i] < 8 ? 1 << c.bits[i] : 0);
    }
  }
}

// ---------------------------------------------------------------- cursors

// The hand: a monochrome 32 x 32 pointer whose finger tip, its hot spot,
// is at (5, 0); it draws nothing outside the top-left 17 x 22 pixels.
TEST(Cursors, HandIsAMonochromePointerWithItsTipAtTheHotSpot) {
  Bytes bytes;
  IconFile cur;
  ASSERT_TRUE(LoadIcon("resources/common/hand.cur", bytes, cur));
  EXPECT_EQ(cur.type, 2);
  ASSERT_EQ(cur.entries.size(), 1u);
  const IconEntry& e = cur.entries[0];
  ASSERT_FALSE(e.png);
  EXPECT_EQ(e.width, 32);
  EXPECT_EQ(e.height, 32);
  ASSERT_EQ(e.dibBits, 1);
  EXPECT_EQ(e.planesOrHotX, 5);
  EXPECT_EQ(e.bitsOrHotY, 0);
  EXPECT_TRUE(Draws(bytes, e, 5, 0)) << "the hot spot is not on the finger";
  int outside = 0;
  for (int y = 0; y < e.height; ++y) {
    for (int x = 0; x < e.width; ++x) {
      if ((x >= 17 || y >= 22) && Draws(bytes, e, x, y)) ++outside;
    }
  }
  EXPECT_EQ(outside, 0) << "pixels drawn outside the top-left 17 x 22";
}

// The busy cursor: RIFF 'ACON' with its 'anih' header and one valid
// 32 x 32 cursor per frame, hot spot in the middle, at a sane pace.
TEST(Cursors, BusyCursorIsAnAnimatedCursorOfValidFrames) {
  const std::string file = DiscFile(menu::kBusyCursor);
  SCOPED_TRACE(file);
  Bytes b;
  ASSERT_TRUE(Load(file, b)) << file << " is missing";
  ASSERT_GE(b.size(), 12u);
  ASSERT_TRUE(Tag(b, 0, "RIFF") && Tag(b, 8, "ACON"));
  EXPECT_EQ(U32(b, 4), b.size() - 8);

  std::vector<std::uint32_t> anih;
  int frames = 0;
  bool sequence = false;
  size_t pos = 12;
  while (pos + 8 <= b.size()) {
    const size_t size = U32(b, pos + 4);
    const size_t body = pos + 8;
    ASSERT_LE(body + size, b.size()) << "chunk past the end";
    if (Tag(b, pos, "anih")) {
      ASSERT_EQ(size, 36u);
      for (size_t i = 0; i < 9; ++i) anih.push_back(U32(b, body + 4 * i));
    } else if (Tag(b, pos, "seq ")) {
      sequence = true;
    } else if (Tag(b, pos, "LIST") && Tag(b, body, "fram")) {
      size_t sub = body + 4;
      while (sub + 8 <= body + size) {
        const size_t frameSize = U32(b, sub + 4);
        ASSERT_LE(sub + 8 + frameSize, body + size);
        if (Tag(b, sub, "icon")) {
          ++frames;
          SCOPED_TRACE("frame " + std::to_string(frames));
          const Bytes frame(b.begin() + static_cast<long>(sub + 8),
                            b.begin() + static_cast<long>(sub + 8 + frameSize));
          const IconFile cur = ReadIcon(frame);
          ASSERT_EQ(cur.error, "");
          EXPECT_EQ(cur.type, 2);
          ASSERT_EQ(cur.entries.size(), 1u);
          EXPECT_EQ(cur.entries[0].width, 32);
          EXPECT_EQ(cur.entries[0].height, 32);
          EXPECT_EQ(cur.entries[0].planesOrHotX, 16);
          EXPECT_EQ(cur.entries[0].bitsOrHotY, 16);
        }
        sub += 8 + frameSize + (frameSize & 1);
      }
    }
    pos = body + size + (size & 1);
  }
  ASSERT_EQ(anih.size(), 9u) << "no anih header";
  EXPECT_EQ(anih[0], 36u);                                 // cbSize
  EXPECT_EQ(anih[1], static_cast<std::uint32_t>(frames));  // frames
  if (!sequence) {
    EXPECT_EQ(anih[2], anih[1]);  // steps
  }
  EXPECT_GE(frames, 4);
  EXPECT_TRUE(anih[3] == 0 || anih[3] == 32);  // width
  EXPECT_TRUE(anih[4] == 0 || anih[4] == 32);  // height
  EXPECT_GE(anih[7], 2u);                      // jiffies per step
  EXPECT_LE(anih[7], 30u);
  EXPECT_EQ(anih[8] & 1u, 1u) << "frames are not marked as icons";
}

}  // namespace
