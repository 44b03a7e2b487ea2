#include "platform/image.h"

#include <algorithm>

namespace platform {

namespace {

std::uint32_t Blend(std::uint32_t dst, std::uint32_t src) {
  const std::uint32_t a = src >> 24;
  if (a == 255) return src;
  if (a == 0) return dst;
  auto mix = [a](std::uint32_t d, std::uint32_t s) { return (s * a + d * (255 - a) + 127) / 255; };
  const std::uint32_t r = mix((dst >> 16) & 255, (src >> 16) & 255);
  const std::uint32_t g = mix((dst >> 8) & 255, (src >> 8) & 255);
  const std::uint32_t b = mix(dst & 255, src & 255);
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}

}  // namespace

void Blit(Canvas& canvas, const Image& img, int x, int y) {
  const int x0 = std::max(0, x);
  const int y0 = std::max(0, y);
  const int x1 = std::min(canvas.width, x + img.width);
  const int y1 = std::min(canvas.height, y + img.height);
  if (img.pixels.size() < static_cast<size_t>(img.width) * static_cast<size_t>(img.height)) return;
  for (int cy = y0; cy < y1; ++cy) {
    const std::uint32_t* src = &img.pixels[static_cast<size_t>(cy - y) * img.width];
    std::uint32_t* dst = &canvas.pixels[static_cast<size_t>(cy) * canvas.width];
    for (int cx = x0; cx < x1; ++cx) dst[cx] = Blend(dst[cx], src[cx - x]);
  }
}

void Fill(Canvas& canvas, int x, int y, int w, int h, std::uint32_t argb) {
  const int x0 = std::max(0, x);
  const int y0 = std::max(0, y);
  const int x1 = std::min(canvas.width, x + w);
  const int y1 = std::min(canvas.height, y + h);
  for (int cy = y0; cy < y1; ++cy) {
    std::uint32_t* row = &canvas.pixels[static_cast<size_t>(cy) * canvas.width];
    std::fill(row + x0, row + std::max(x0, x1), argb);
  }
}

}  // namespace platform
