// Decoding the two picture formats that a menu uses, GIF and PNG, without
// the system's imaging library: the built-in pictures and the disc's GIFs
// are decoded here, so that a window shows without loading GDI+ and its
// dependencies first. Reading files and decoding other formats (BMP, JPEG,
// the PNG variants left out below) is the platform's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/image.h"

namespace platform {

// Largest picture accepted, as for every other decoder of the program.
constexpr int kMaxPictureSide = 8192;
constexpr std::size_t kMaxPicturePixels = 16u * 1024u * 1024u;

// A GIF (first image, its transparent colour as alpha 0, the area of the
// logical screen outside that image transparent) or a non-interlaced PNG of
// any colour type and depth. Returns null for other bytes (other formats,
// interlaced PNG, a GIF without any colour table), which the platform's
// decoder may know. Raises "Invalid picture" (481), naming `source`, for a
// GIF or PNG that is damaged, truncated or absurdly large.
Picture DecodeGifOrPng(const std::uint8_t* bytes, std::size_t size, const std::string& source);

// Inflates a zlib stream (RFC 1950/1951) whose output is at most `limit`
// bytes, which `out` is sized to first. False for damaged data, a wrong
// checksum or more output than that.
bool InflateZlib(const std::uint8_t* bytes, std::size_t size, std::size_t limit,
                 std::vector<std::uint8_t>& out);

}  // namespace platform
