// The programs' own GIF/PNG decoder: inflate against zlib, the placement of
// a GIF image on its logical screen, and damaged input of every kind ending
// in "Invalid picture" rather than a crash or a half-read picture. Pixel
// equality with an independent decoder is checked by decode_check.py.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/picture_decode.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Compress(const Bytes& data, int level, int strategy) {
  z_stream z = {};
  EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, 15, 9, strategy), Z_OK);
  Bytes out(deflateBound(&z, data.size()) + 64);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// Text-like data: repeats near and far, and runs, as pictures have.
Bytes Sample(std::size_t n, unsigned seed) {
  std::mt19937 rnd(seed);
  Bytes b;
  while (b.size() < n) {
    const unsigned pick = rnd() % 4;
    if (pick == 0 || b.size() < 300) {
      b.push_back(static_cast<std::uint8_t>(rnd()));
    } else if (pick == 1) {
      b.insert(b.end(), rnd() % 300, static_cast<std::uint8_t>(rnd()));
    } else {
      const std::size_t from = b.size() - 1 - rnd() % (b.size() < 40000 ? b.size() - 1 : 39999);
      const std::size_t len = 3 + rnd() % 300;
      for (std::size_t i = 0; i < len; ++i) b.push_back(b[from + i]);
    }
  }
  b.resize(n);
  return b;
}

TEST(Inflate, AgreesWithZlibAtEveryLevelAndStrategy) {
  struct Case {
    int level;
    int strategy;
  };
  const Case cases[] = {{0, Z_DEFAULT_STRATEGY},
                        {1, Z_DEFAULT_STRATEGY},
                        {6, Z_DEFAULT_STRATEGY},
                        {9, Z_DEFAULT_STRATEGY},
                        {6, Z_FIXED},
                        {6, Z_HUFFMAN_ONLY},
                        {6, Z_RLE},
                        {9, Z_FILTERED}};
  for (const std::size_t size :
       {std::size_t{0}, std::size_t{1}, std::size_t{70000}, std::size_t{300000}}) {
    const Bytes data = Sample(size, static_cast<unsigned>(size));
    for (const Case& c : cases) {
      SCOPED_TRACE("size " + std::to_string(size) + " level " + std::to_string(c.level) +
                   " strategy " + std::to_string(c.strategy));
      const Bytes packed = Compress(data, c.level, c.strategy);
      Bytes out;
      ASSERT_TRUE(platform::InflateZlib(packed.data(), packed.size(), data.size(), out));
      EXPECT_EQ(out, data);
      if (!data.empty()) {  // one byte over the limit is refused, not written
        EXPECT_FALSE(platform::InflateZlib(packed.data(), packed.size(), data.size() - 1, out));
      }
    }
  }
}

TEST(Inflate, RefusesDamagedStreams) {
  const Bytes data = Sample(20000, 3);
  const Bytes packed = Compress(data, 9, Z_DEFAULT_STRATEGY);
  Bytes out;
  for (std::size_t cut = 0; cut < packed.size(); cut += 7) {
    EXPECT_FALSE(platform::InflateZlib(packed.data(), cut, data.size(), out)) << "cut " << cut;
  }
  std::mt19937 rnd(11);
  for (int i = 0; i < 400; ++i) {
    Bytes bad = packed;
    bad[rnd() % bad.size()] ^= static_cast<std::uint8_t>(1u << (rnd() % 8));
    // A flipped bit is either refused or caught by the checksum.
    if (platform::InflateZlib(bad.data(), bad.size(), data.size(), out)) {
      EXPECT_EQ(out, data);
    }
  }
}

TEST(Inflate, RepeatsOfEveryShortPeriodAreExact) {
  // Matches that overlap the bytes they produce, of each period that is
  // copied in narrower steps than the rest, and of lengths ending on either
  // side of a step.
  for (std::size_t period = 1; period <= 17; ++period) {
    Bytes data = Sample(64, static_cast<unsigned>(period));
    for (std::size_t length : {3u, 7u, 8u, 9u, 31u, 258u, 1000u}) {
      const std::size_t start = data.size();
      for (std::size_t i = 0; i < length; ++i) data.push_back(data[start - period + i]);
      data.push_back(static_cast<std::uint8_t>(length * 37 + period));  // ends the repeat
    }
    const Bytes packed = Compress(data, 9, Z_DEFAULT_STRATEGY);
    Bytes out;
    ASSERT_TRUE(platform::InflateZlib(packed.data(), packed.size(), data.size(), out));
    EXPECT_EQ(out, data) << "period " << period;
  }
}

// A 4 x 3 logical screen with a 2 x 1 image at (1, 1): colours 0 and 1 of a
// four-colour table, LZW codes clear, 0, 1, end at 3 bits.
TEST(Gif, PlacesTheImageOnItsScreenAndLeavesTheRestTransparent) {
  const Bytes gif = {'G',  'I', 'F',  '8',  '9',  'a', 4, 0, 3,    0, 0x81, 0, 0,
                     0xFF, 0,   0,    0,    0xFF, 0,   0, 0, 0xFF, 9, 9,    9,  // colours
                     0x2C, 1,   0,    1,    0,    2,   0, 1, 0,    0,  // image at (1,1), 2x1
                     2,    2,   0x44, 0x0A, 0,    0x3B};
  const platform::Picture p = platform::DecodeGifOrPng(gif.data(), gif.size(), "t.gif");
  ASSERT_TRUE(p);
  ASSERT_EQ(p->width, 4);
  ASSERT_EQ(p->height, 3);
  std::vector<std::uint32_t> want(12, 0);
  want[5] = 0xFFFF0000u;
  want[6] = 0xFF00FF00u;
  EXPECT_EQ(p->pixels, want);
}

Bytes ReadFile(const std::string& relative) {
  std::ifstream in(std::string(SOURCE_ROOT) + "/" + relative, std::ios::binary);
  EXPECT_TRUE(in) << relative;
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Decoding either gives a picture of the declared size or raises 481.
void DecodeOrInvalid(const Bytes& bytes, const std::string& what) {
  try {
    const platform::Picture p = platform::DecodeGifOrPng(bytes.data(), bytes.size(), what);
    if (p) {
      ASSERT_GT(p->width, 0) << what;
      ASSERT_EQ(p->pixels.size(),
                static_cast<std::size_t>(p->width) * static_cast<std::size_t>(p->height))
          << what;
    }
  } catch (const platform::RuntimeError& e) {
    ASSERT_EQ(e.number, platform::kErrInvalidPicture) << what;
    ASSERT_EQ(e.file, what);
  }
}

TEST(PictureDecode, DamagedFilesAreReportedNeverMisread) {
  const char* files[] = {"disc/setup/images/help.gif", "disc/setup/images/enUS/NV-EXIT-blue.gif",
                         "resources/modelmenu/wizard_imgManualInstallation.gif",
                         "resources/discmenu/wizard_background.png",
                         "resources/modelmenu/wizard_background.png"};
  std::mt19937 rnd(5);
  for (const char* file : files) {
    const Bytes good = ReadFile(file);
    ASSERT_FALSE(good.empty());
    // Every cut of the small files; a spread of cuts of the big ones.
    const std::size_t step = good.size() < 8000 ? 1 : good.size() / 150;
    for (std::size_t cut = 0; cut < good.size(); cut += step) {
      const Bytes part(good.begin(), good.begin() + static_cast<long>(cut));
      const bool valid = [&] {
        try {
          return platform::DecodeGifOrPng(part.data(), part.size(), file) != nullptr;
        } catch (const platform::RuntimeError& e) {
          EXPECT_EQ(e.number, platform::kErrInvalidPicture);
          return false;
        }
      }();
      // A GIF may stop after its pixels (the trailer is optional); a PNG
      // without its end chunk is incomplete.
      if (valid) {
        EXPECT_TRUE(std::string(file).find(".gif") != std::string::npos && cut + 2 >= good.size())
            << file << " cut " << cut;
      }
    }
    for (int i = 0; i < 300; ++i) {
      Bytes bad = good;
      for (int k = 0; k < 3; ++k) bad[rnd() % bad.size()] = static_cast<std::uint8_t>(rnd());
      DecodeOrInvalid(bad, file);
    }
  }
}

void Chunk(Bytes& png, const char* kind, const Bytes& data) {
  const auto n = static_cast<std::uint32_t>(data.size());
  for (int shift = 24; shift >= 0; shift -= 8) png.push_back(static_cast<std::uint8_t>(n >> shift));
  const std::size_t start = png.size();
  png.insert(png.end(), kind, kind + 4);
  png.insert(png.end(), data.begin(), data.end());
  const uLong crc = crc32(0, png.data() + start, static_cast<uInt>(png.size() - start));
  for (int shift = 24; shift >= 0; shift -= 8)
    png.push_back(static_cast<std::uint8_t>(crc >> shift));
}

// A PNG of the given size, depth and colour type whose image data is `idat`.
Bytes Png(std::uint32_t w, std::uint32_t h, std::uint8_t depth, std::uint8_t type,
          const Bytes& idat) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes header;
  for (const std::uint32_t v : {w, h}) {
    for (int shift = 24; shift >= 0; shift -= 8)
      header.push_back(static_cast<std::uint8_t>(v >> shift));
  }
  header.insert(header.end(), {depth, type, 0, 0, 0});
  Chunk(png, "IHDR", header);
  Chunk(png, "IDAT", idat);
  Chunk(png, "IEND", {});
  return png;
}

TEST(Png, SixteenBitColourKeepsEachSamplesHighByte) {
  // RGB and RGBA at 16 bits: rows longer than the pixels they become.
  for (const std::uint8_t type : {std::uint8_t{2}, std::uint8_t{6}}) {
    const std::uint32_t w = 5, h = 4;
    const std::size_t channels = type == 2 ? 3 : 4;
    Bytes raw;
    std::vector<std::uint32_t> want;
    for (std::uint32_t y = 0; y < h; ++y) {
      raw.push_back(0);  // no filter
      for (std::uint32_t x = 0; x < w; ++x) {
        std::uint32_t argb = type == 2 ? 0xFF000000u : 0u;
        for (std::size_t c = 0; c < channels; ++c) {
          const auto high = static_cast<std::uint8_t>(y * 50 + x * 7 + c * 60);
          raw.insert(raw.end(), {high, static_cast<std::uint8_t>(~high)});
          argb |= static_cast<std::uint32_t>(high) << (c == 3 ? 24 : 16 - 8 * c);
        }
        want.push_back(argb);
      }
    }
    const Bytes png = Png(w, h, 16, type, Compress(raw, 6, Z_DEFAULT_STRATEGY));
    const platform::Picture p = platform::DecodeGifOrPng(png.data(), png.size(), "deep.png");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->pixels, want) << "colour type " << int{type};
  }
}

// The textbook forms of the five row filters, as an encoder applies them.
int PaethPredictor(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

Bytes Filter(const Bytes& rows, std::size_t stride, std::size_t bpp) {
  Bytes out;
  const std::size_t h = rows.size() / stride;
  for (std::size_t y = 0; y < h; ++y) {
    const int filter = static_cast<int>(y % 5);
    out.push_back(static_cast<std::uint8_t>(filter));
    auto at = [&](std::size_t yy, std::size_t x, bool ok) {
      return ok ? rows[yy * stride + x] : 0;
    };
    for (std::size_t x = 0; x < stride; ++x) {
      const int a = at(y, x - bpp, x >= bpp);
      const int b = at(y - 1, x, y > 0);
      const int c = at(y - 1, x - bpp, y > 0 && x >= bpp);
      const int predicted = filter == 0   ? 0
                            : filter == 1 ? a
                            : filter == 2 ? b
                            : filter == 3 ? (a + b) / 2
                                          : PaethPredictor(a, b, c);
      out.push_back(static_cast<std::uint8_t>(rows[y * stride + x] - predicted));
    }
  }
  return out;
}

TEST(Png, EveryFilterAtEveryPixelSizeGivesBackThePixels) {
  // Rows cycling through the five filters over samples near each other, as
  // in a picture, for each pixel size in bytes and a packed one.
  struct Case {
    std::uint8_t depth, type;
    std::size_t bpp;  // bytes per pixel, 1 for packed pixels
  };
  const Case cases[] = {{4, 0, 1}, {8, 0, 1},  {8, 4, 2},  {8, 2, 3},
                        {8, 6, 4}, {16, 4, 4}, {16, 2, 6}, {16, 6, 8}};
  std::mt19937 rnd(21);
  for (const Case& c : cases) {
    const std::uint32_t w = 29, h = 11;
    const std::size_t stride = c.depth == 4 ? (w + 1) / 2 : w * c.bpp;
    Bytes rows(stride * h);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      rows[i] = static_cast<std::uint8_t>(i < c.bpp ? rnd() : rows[i - c.bpp] + rnd() % 9 - 4);
    }
    const Bytes png = Png(w, h, c.depth, c.type, Compress(Filter(rows, stride, c.bpp), 6, 0));
    const platform::Picture p = platform::DecodeGifOrPng(png.data(), png.size(), "f.png");
    ASSERT_TRUE(p);
    const std::size_t step = c.depth == 16 ? 2 : 1;
    for (std::uint32_t y = 0; y < h; ++y) {
      for (std::uint32_t x = 0; x < w; ++x) {
        const std::uint8_t* s = &rows[y * stride + x * c.bpp];
        std::uint32_t want = 0;
        if (c.depth == 4) {
          const std::uint32_t v = (rows[y * stride + x / 2] >> (x % 2 ? 0 : 4)) & 15;
          want = 0xFF000000u | v * 17 * 0x010101u;
        } else if (c.type == 0) {
          want = 0xFF000000u | s[0] * 0x010101u;
        } else if (c.type == 4) {
          want = static_cast<std::uint32_t>(s[step]) << 24 | s[0] * 0x010101u;
        } else {
          const std::uint32_t alpha = c.type == 6 ? s[3 * step] : 255u;
          want = alpha << 24 | static_cast<std::uint32_t>(s[0]) << 16 |
                 static_cast<std::uint32_t>(s[step]) << 8 | s[2 * step];
        }
        ASSERT_EQ(p->pixels[y * w + x], want)
            << "depth " << int{c.depth} << " type " << int{c.type} << " at " << x << "," << y;
      }
    }
  }
}

TEST(Png, TheMostCompressiblePictureDecodesAndAHeaderPromisingMoreIsRefused) {
  // 16 M pixels of one grey, zlib's best: over a thousand bytes per byte.
  const std::uint32_t w = 8192, h = 2048;
  const Bytes packed =
      Compress(Bytes((w + 1) * static_cast<std::size_t>(h), 0), 9, Z_DEFAULT_STRATEGY);
  ASSERT_GT((w + 1) * static_cast<std::size_t>(h) / packed.size(), 1000u);
  const Bytes good = Png(w, h, 8, 0, packed);
  const platform::Picture p = platform::DecodeGifOrPng(good.data(), good.size(), "grey.png");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->pixels.size(), std::size_t{w} * h);
  EXPECT_EQ(p->pixels.front(), 0xFF000000u);
  EXPECT_EQ(p->pixels.back(), 0xFF000000u);
  // Half of that data under a header of twice the rows cannot be right.
  const Bytes half =
      Compress(Bytes((w / 2 + 1) * static_cast<std::size_t>(h), 0), 9, Z_DEFAULT_STRATEGY);
  const Bytes lying = Png(w / 2, h * 2, 8, 0, half);
  try {
    platform::DecodeGifOrPng(lying.data(), lying.size(), "lying.png");
    FAIL() << "a picture from too little data";
  } catch (const platform::RuntimeError& e) {
    EXPECT_EQ(e.number, platform::kErrInvalidPicture);
  }
}

}  // namespace
