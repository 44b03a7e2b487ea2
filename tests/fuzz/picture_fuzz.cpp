// libFuzzer target for the programs' own picture decoder, which reads disc
// files that nobody checked: any bytes must give a picture of the size it
// declares, "no picture of mine" (null) or "Invalid picture" (481), and
// nothing else: no crash, no undefined behaviour, no hang, no allocation
// beyond what the decoder's own size limits allow (tools/fuzz.sh sets the
// limits). Bytes that are neither GIF nor PNG also go to the inflater as a
// zlib stream, so that it is explored without a PNG around it: the first
// byte picks the output limit, from 1 to 256 KB. The decoder is built to
// take any zlib checksum here (tests/fuzz/CMakeLists.txt).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/error.h"
#include "platform/picture_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const platform::Picture p = platform::DecodeGifOrPng(data, size, "fuzz");
    if (p && (p->width <= 0 || p->height <= 0 ||
              p->pixels.size() != static_cast<std::size_t>(p->width) * p->height)) {
      std::abort();  // a picture whose pixels do not match its size
    }
    if (p) return 0;
  } catch (const platform::RuntimeError& e) {
    if (e.number != platform::kErrInvalidPicture || e.file != "fuzz") std::abort();
    return 0;
  }
  if (size >= 1) {
    std::vector<std::uint8_t> out;
    const std::size_t limit = (std::size_t{data[0]} + 1) * 1024;
    if (platform::InflateZlib(data + 1, size - 1, limit, out) && out.size() > limit) std::abort();
  }
  return 0;
}
