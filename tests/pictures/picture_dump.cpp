// Decodes one GIF or PNG file with the programs' own decoder and writes
// "width height\n" and the pixels (0xAARRGGBB, little-endian, top row first)
// to stdout; "none\n" when the decoder leaves the file to the system's, and
// "error <number>\n" when it reports the file as damaged.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/error.h"
#include "platform/picture_decode.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: picture_dump FILE\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 2;
  }
  const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
  try {
    const platform::Picture image = platform::DecodeGifOrPng(bytes.data(), bytes.size(), argv[1]);
    if (!image) {
      std::printf("none\n");
      return 0;
    }
    std::printf("%d %d\n", image->width, image->height);
    std::fflush(stdout);
    std::fwrite(image->pixels.data(), 4, image->pixels.size(), stdout);
  } catch (const platform::RuntimeError& e) {
    std::printf("error %d\n", e.number);
  }
  return 0;
}
