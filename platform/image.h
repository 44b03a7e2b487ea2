// Decoded pictures and the software compositor that draws a window's
// controls into one 32-bit frame. Decoding files is the platform's; this
// module only holds and blends pixels, so the whole frame is built the same
// way on every platform and can be checked without one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Pixels are 0xAARRGGBB, top row first. Alpha is 0 (transparent colour of
// a GIF) or 255; partial alpha is blended too.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::string source;  // path or resource name it came from, for reports
};

// A control's picture. Null is the empty picture: nothing is drawn.
using Picture = std::shared_ptr<const Image>;

// A 32-bit frame buffer that the compositor draws into.
struct Canvas {
  int width = 0;
  int height = 0;
  std::uint32_t* pixels = nullptr;  // width * height, top row first
};

// Draws img with its top-left corner at (x, y), clipped to the canvas.
void Blit(Canvas& canvas, const Image& img, int x, int y);

// Fills a rectangle, clipped to the canvas.
void Fill(Canvas& canvas, int x, int y, int w, int h, std::uint32_t argb);

}  // namespace platform
