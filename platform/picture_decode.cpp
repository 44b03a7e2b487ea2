#include "platform/picture_decode.h"

#include <array>
#include <cstring>
#include <memory>

#include "platform/error.h"

namespace platform {

namespace {

// Bits of a byte stream, least significant first (both DEFLATE and GIF's
// LZW pack their codes this way). Reading past the end sets `over` and
// gives zero bits, so callers check once per step, not per bit.
class BitReader {
 public:
  BitReader(const std::uint8_t* p, std::size_t n) : p_(p), n_(n) {}

  std::uint32_t Bits(int count) {
    while (have_ < count) {
      if (pos_ >= n_) {
        over = true;
        return 0;
      }
      buffer_ |= static_cast<std::uint32_t>(p_[pos_++]) << have_;
      have_ += 8;
    }
    const std::uint32_t v = buffer_ & ((1u << count) - 1u);
    buffer_ >>= count;
    have_ -= count;
    return v;
  }

  // Up to `count` next bits without taking them; fewer than asked only at
  // the end of the data (see Available).
  std::uint32_t Peek(int count) {
    while (have_ < count && pos_ < n_) {
      buffer_ |= static_cast<std::uint32_t>(p_[pos_++]) << have_;
      have_ += 8;
    }
    return buffer_ & ((1u << count) - 1u);
  }
  int Available() const { return have_; }
  // Takes `count` bits that Peek made available.
  void Drop(int count) {
    buffer_ >>= count;
    have_ -= count;
  }

  // Drops the bits left in the current byte; whole bytes that Peek read
  // ahead go back to the stream.
  void Align() {
    pos_ -= static_cast<std::size_t>(have_ / 8);
    buffer_ = 0;
    have_ = 0;
  }
  std::size_t Position() const { return pos_; }
  void Skip(std::size_t n) { pos_ += n; }
  std::size_t Left() const { return n_ - pos_; }
  const std::uint8_t* Here() const { return p_ + pos_; }

  bool over = false;

 private:
  const std::uint8_t* p_;
  std::size_t n_;
  std::size_t pos_ = 0;
  std::uint32_t buffer_ = 0;
  int have_ = 0;
};

// ---- DEFLATE ----------------------------------------------------------------

constexpr int kMaxCodeBits = 15;

// Codes of up to this many bits are decoded by one table look-up; longer
// ones (rare in practice) bit by bit.
constexpr int kFastBits = 9;

// A canonical Huffman code: how many codes of each length, the symbols in
// code order, and the look-up table of the short codes.
struct Huffman {
  std::array<std::uint16_t, kMaxCodeBits + 1> count{};
  std::array<std::uint16_t, 288> symbol{};
  // Indexed by the next kFastBits input bits: symbol << 4 | code length,
  // or 0 where the code is longer or not in the set.
  std::array<std::uint16_t, 1u << kFastBits> fast{};

  // False for an over-subscribed set of lengths. An incomplete set is
  // allowed (a single distance code is legal); its unused codes fail in
  // Decode.
  bool Build(const std::uint8_t* lengths, int n) {
    count.fill(0);
    for (int i = 0; i < n; ++i) ++count[lengths[i]];
    count[0] = 0;
    int left = 1;
    for (int len = 1; len <= kMaxCodeBits; ++len) {
      left = left * 2 - count[len];
      if (left < 0) return false;
    }
    std::array<std::uint16_t, kMaxCodeBits + 2> offset{};
    for (int len = 1; len <= kMaxCodeBits; ++len) {
      offset[len + 1] = static_cast<std::uint16_t>(offset[len] + count[len]);
    }
    for (int i = 0; i < n; ++i) {
      if (lengths[i]) symbol[offset[lengths[i]]++] = static_cast<std::uint16_t>(i);
    }
    // Canonical codes in symbol order; the stream sends each code's most
    // significant bit first, so the table is indexed by the reversed code.
    fast.fill(0);
    std::array<int, kMaxCodeBits + 1> next{};
    for (int len = 1, code = 0; len <= kMaxCodeBits; ++len) {
      code = (code + count[len - 1]) << 1;
      next[len] = code;
    }
    for (int i = 0; i < n; ++i) {
      const int len = lengths[i];
      if (len == 0) continue;
      const int code = next[len]++;
      if (len > kFastBits) continue;
      int reversed = 0;
      for (int b = 0; b < len; ++b) reversed |= ((code >> b) & 1) << (len - 1 - b);
      for (int k = reversed; k < (1 << kFastBits); k += 1 << len) {
        fast[static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(i << 4 | len);
      }
    }
    return true;
  }

  // The next symbol, or -1 for a code that is not in the set.
  int Decode(BitReader& in) const {
    const std::uint16_t entry = fast[in.Peek(kFastBits)];
    if (entry != 0 && (entry & 15) <= in.Available()) {
      in.Drop(entry & 15);
      return entry >> 4;
    }
    int code = 0;   // bits read so far
    int first = 0;  // first code of the current length
    int index = 0;  // index of that code's symbol
    for (int len = 1; len <= kMaxCodeBits; ++len) {
      code |= static_cast<int>(in.Bits(1));
      if (in.over) return -1;
      const int n = count[len];
      if (code - first < n) return symbol[index + code - first];
      index += n;
      first = (first + n) << 1;
      code <<= 1;
    }
    return -1;
  }
};

constexpr std::uint16_t kLengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                           15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                           67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                           2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::uint16_t kDistBase[30] = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::uint8_t kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Where inflated bytes go: a buffer of fixed capacity, filled from the start.
struct Output {
  std::uint8_t* data;
  std::size_t capacity;
  std::size_t size = 0;
};

// Writes the `length` bytes that start `distance` bytes back to `to`. They
// may overlap the bytes being written, which then repeat with a period of
// `distance`, and so with any multiple of it. The backgrounds' matches are
// mostly runs of one byte and rows above, so a run is a fill and the rest go
// eight bytes at a time, a short period's from its first multiple of at
// least 8 bytes back once `lag` bytes are out.
void CopyMatch(std::uint8_t* to, std::size_t distance, std::size_t length) {
  const std::uint8_t* from = to - distance;
  if (distance == 1) {
    std::memset(to, *from, length);
    return;
  }
  // Byte i (from `lag` on) is read from distance + lag >= 8 bytes behind it.
  std::size_t lag = 0;
  if (distance < 8) lag = (8 + distance - 1) / distance * distance - distance;
  std::size_t i = 0;
  for (; i < lag && i < length; ++i) to[i] = from[i];
  for (; i + 8 <= length; i += 8) std::memcpy(to + i, from + (i - lag), 8);
  for (; i < length; ++i) to[i] = from[i - lag];
}

bool InflateCodes(BitReader& in, const Huffman& lit, const Huffman& dist, Output& out) {
  for (;;) {
    const int sym = lit.Decode(in);
    if (sym < 0) return false;
    if (sym < 256) {
      if (out.size >= out.capacity) return false;
      out.data[out.size++] = static_cast<std::uint8_t>(sym);
      continue;
    }
    if (sym == 256) return true;
    const int li = sym - 257;
    if (li >= 29) return false;
    const std::size_t length = kLengthBase[li] + in.Bits(kLengthExtra[li]);
    const int di = dist.Decode(in);
    if (di < 0 || di >= 30) return false;
    const std::size_t distance = kDistBase[di] + in.Bits(kDistExtra[di]);
    if (in.over || distance > out.size || length > out.capacity - out.size) return false;
    CopyMatch(out.data + out.size, distance, length);
    out.size += length;
  }
}

bool InflateFixed(BitReader& in, Output& out) {
  static const auto tables = [] {
    std::pair<Huffman, Huffman> t;
    std::uint8_t lengths[288];
    for (int i = 0; i < 288; ++i) lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
    t.first.Build(lengths, 288);
    for (int i = 0; i < 30; ++i) lengths[i] = 5;
    t.second.Build(lengths, 30);
    return t;
  }();
  return InflateCodes(in, tables.first, tables.second, out);
}

bool InflateDynamic(BitReader& in, Output& out) {
  static constexpr std::uint8_t kOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                              11, 4,  12, 3, 13, 2, 14, 1, 15};
  const int nlit = static_cast<int>(in.Bits(5)) + 257;
  const int ndist = static_cast<int>(in.Bits(5)) + 1;
  const int ncode = static_cast<int>(in.Bits(4)) + 4;
  if (in.over || nlit > 286 || ndist > 30) return false;
  std::uint8_t lengths[286 + 30] = {};
  for (int i = 0; i < ncode; ++i) lengths[kOrder[i]] = static_cast<std::uint8_t>(in.Bits(3));
  Huffman code;
  if (in.over || !code.Build(lengths, 19)) return false;
  std::memset(lengths, 0, sizeof(lengths));
  for (int i = 0; i < nlit + ndist;) {
    const int sym = code.Decode(in);
    if (sym < 0) return false;
    if (sym < 16) {
      lengths[i++] = static_cast<std::uint8_t>(sym);
      continue;
    }
    std::uint8_t value = 0;
    int repeat = 0;
    if (sym == 16) {
      if (i == 0) return false;
      value = lengths[i - 1];
      repeat = 3 + static_cast<int>(in.Bits(2));
    } else if (sym == 17) {
      repeat = 3 + static_cast<int>(in.Bits(3));
    } else {
      repeat = 11 + static_cast<int>(in.Bits(7));
    }
    if (in.over || i + repeat > nlit + ndist) return false;
    while (repeat--) lengths[i++] = value;
  }
  if (lengths[256] == 0) return false;  // no end-of-block code
  Huffman lit, dist;
  if (!lit.Build(lengths, nlit) || !dist.Build(lengths + nlit, ndist)) return false;
  return InflateCodes(in, lit, dist, out);
}

std::uint32_t Adler32(const std::uint8_t* p, std::size_t n) {
  std::uint32_t a = 1, b = 0;
  while (n) {
    std::size_t chunk = n < 5552 ? n : 5552;  // largest run without overflow
    n -= chunk;
    // Eight bytes a step, the same sums as byte by byte: b gains a eight
    // times and each byte once for every place from its own to the eighth.
    // Fewer additions wait on each other than one byte at a time.
    for (; chunk >= 8; chunk -= 8, p += 8) {
      b += 8 * a + 8u * p[0] + 7u * p[1] + 6u * p[2] + 5u * p[3] + 4u * p[4] + 3u * p[5] +
           2u * p[6] + p[7];
      a += 0u + p[0] + p[1] + p[2] + p[3] + p[4] + p[5] + p[6] + p[7];
    }
    for (; chunk; --chunk) {
      a += *p++;
      b += a;
    }
    a %= 65521u;
    b %= 65521u;
  }
  return (b << 16) | a;
}

std::uint32_t Big32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

std::uint16_t Little16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

// Inflates a zlib stream into `out`, which it must fill at most.
bool InflateInto(const std::uint8_t* bytes, std::size_t size, Output& out) {
  if (size < 6) return false;
  const int cmf = bytes[0], flg = bytes[1];
  if ((cmf & 0x0F) != 8 || (cmf >> 4) > 7 || (cmf * 256 + flg) % 31 != 0 || (flg & 0x20)) {
    return false;
  }
  BitReader in(bytes + 2, size - 2);
  for (;;) {
    const std::uint32_t last = in.Bits(1);
    const std::uint32_t type = in.Bits(2);
    if (in.over) return false;
    bool ok = false;
    if (type == 0) {
      in.Align();
      if (in.Left() < 4) return false;
      const std::uint8_t* h = in.Here();
      const std::size_t len = Little16(h);
      if (Little16(h + 2) != static_cast<std::uint16_t>(~len)) return false;
      in.Skip(4);
      if (in.Left() < len || len > out.capacity - out.size) return false;
      if (len != 0) std::memcpy(out.data + out.size, in.Here(), len);
      out.size += len;
      in.Skip(len);
      ok = true;
    } else if (type == 1) {
      ok = InflateFixed(in, out);
    } else if (type == 2) {
      ok = InflateDynamic(in, out);
    }
    if (!ok) return false;
    if (last) break;
  }
  // The checksum follows on the next byte boundary.
  in.Align();
  if (in.Left() < 4) return false;
  const std::uint32_t sum = Adler32(out.data, out.size);
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // The fuzzer (tests/fuzz/) takes any checksum, so that the image data it
  // alters goes on to the filters and the pixel conversion.
  static_cast<void>(sum);
  return true;
#else
  return Big32(in.Here()) == sum;
#endif
}

bool SizeAllowed(std::uint32_t w, std::uint32_t h) {
  return w > 0 && h > 0 && w <= static_cast<std::uint32_t>(kMaxPictureSide) &&
         h <= static_cast<std::uint32_t>(kMaxPictureSide) &&
         static_cast<std::size_t>(w) * h <= kMaxPicturePixels;
}

std::shared_ptr<Image> NewImage(int w, int h, const std::string& source) {
  auto image = std::make_shared<Image>();
  image->width = w;
  image->height = h;
  image->source = source;
  image->pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0u);
  return image;
}

constexpr std::uint32_t Argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// ---- GIF --------------------------------------------------------------------

constexpr int kLzwCodes = 4096;

// Decodes the LZW data of one image into `indices` (w * h colour indices).
// Data after the last pixel is ignored; too few pixels is damage.
bool DecodeLzw(const std::vector<std::uint8_t>& data, int minSize,
               std::vector<std::uint8_t>& indices) {
  if (minSize < 1 || minSize > 11) return false;
  std::vector<std::uint16_t> prefix(kLzwCodes);
  std::vector<std::uint8_t> suffix(kLzwCodes), stack(kLzwCodes);
  const int clear = 1 << minSize;
  const int end = clear + 1;
  for (int i = 0; i < clear; ++i)
    suffix[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  int size = minSize + 1;
  int next = end + 1;
  int prev = -1;
  std::uint8_t first = 0;  // first index of the previous code's string
  BitReader in(data.data(), data.size());
  std::size_t out = 0;
  const std::size_t total = indices.size();
  while (out < total) {
    const int code = static_cast<int>(in.Bits(size));
    if (in.over) return false;
    if (code == clear) {
      size = minSize + 1;
      next = end + 1;
      prev = -1;
      continue;
    }
    if (code == end) break;
    if (prev < 0) {
      if (code >= clear) return false;
      first = static_cast<std::uint8_t>(code);
      indices[out++] = first;
      prev = code;
      continue;
    }
    // The string of `code`, last index first; the code just being defined
    // (the one case of a code not yet in the table) is the previous string
    // plus its own first index.
    int top = 0;
    int walk = code;
    if (code == next) {
      stack[static_cast<std::size_t>(top++)] = first;
      walk = prev;
    } else if (code > next) {
      return false;
    }
    while (walk >= clear) {
      stack[static_cast<std::size_t>(top++)] = suffix[static_cast<std::size_t>(walk)];
      walk = prefix[static_cast<std::size_t>(walk)];
    }
    stack[static_cast<std::size_t>(top++)] = static_cast<std::uint8_t>(walk);
    first = static_cast<std::uint8_t>(walk);
    while (top > 0 && out < total) indices[out++] = stack[static_cast<std::size_t>(--top)];
    if (next < kLzwCodes) {
      prefix[static_cast<std::size_t>(next)] = static_cast<std::uint16_t>(prev);
      suffix[static_cast<std::size_t>(next)] = first;
      ++next;
      if (next == (1 << size) && size < 12) ++size;
    }
    prev = code;
  }
  return out == total;
}

Picture DecodeGif(const std::uint8_t* p, std::size_t n, const std::string& source) {
  auto bad = [&]() { Raise(kErrInvalidPicture, source); };
  if (n < 13) bad();
  const int screenW = Little16(p + 6);
  const int screenH = Little16(p + 8);
  std::size_t pos = 13;
  std::array<std::uint32_t, 256> global{};
  int globalCount = 0;
  auto readTable = [&](std::array<std::uint32_t, 256>& table, int count) {
    if (n - pos < static_cast<std::size_t>(count) * 3) bad();
    for (int i = 0; i < count; ++i, pos += 3) {
      table[static_cast<std::size_t>(i)] = Argb(255, p[pos], p[pos + 1], p[pos + 2]);
    }
  };
  if (p[10] & 0x80) {
    globalCount = 2 << (p[10] & 7);
    readTable(global, globalCount);
  }
  int transparent = -1;
  // Sub-blocks until the empty one; `sink` gets their bytes when given.
  auto readBlocks = [&](std::vector<std::uint8_t>* sink) {
    for (;;) {
      if (pos >= n) bad();
      const std::size_t len = p[pos++];
      if (len == 0) return;
      if (n - pos < len) bad();
      if (sink) sink->insert(sink->end(), p + pos, p + pos + len);
      pos += len;
    }
  };
  for (;;) {
    if (pos >= n) bad();
    const std::uint8_t kind = p[pos++];
    if (kind == 0x21) {  // extension
      if (pos >= n) bad();
      const std::uint8_t label = p[pos++];
      if (label == 0xF9 && pos + 5 <= n && p[pos] >= 4) {  // graphic control
        transparent = (p[pos + 1] & 1) ? p[pos + 4] : -1;
      }
      readBlocks(nullptr);
      continue;
    }
    if (kind != 0x2C) bad();  // a trailer or anything else before the first image
    if (n - pos < 9) bad();
    const int left = Little16(p + pos);
    const int top = Little16(p + pos + 2);
    const int w = Little16(p + pos + 4);
    const int h = Little16(p + pos + 6);
    const std::uint8_t flags = p[pos + 8];
    pos += 9;
    std::array<std::uint32_t, 256> local{};
    const std::array<std::uint32_t, 256>* colours = &global;
    int colourCount = globalCount;
    if (flags & 0x80) {
      colourCount = 2 << (flags & 7);
      readTable(local, colourCount);
      colours = &local;
    }
    if (colourCount == 0) return nullptr;  // the system's decoder picks the colours
    // The picture is the logical screen; a GIF that declares none is its image.
    const int pw = screenW ? screenW : left + w;
    const int ph = screenH ? screenH : top + h;
    if (!SizeAllowed(static_cast<std::uint32_t>(pw), static_cast<std::uint32_t>(ph)) ||
        !SizeAllowed(static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h))) {
      bad();
    }
    if (pos >= n) bad();
    const int minSize = p[pos++];
    std::vector<std::uint8_t> data;
    readBlocks(&data);
    // Each code stands for fewer than 4096 indices and takes at least
    // minSize + 1 bits: an image larger than its data can hold is damaged,
    // found before its indices are set aside.
    const std::size_t pixels = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    if (pixels / kLzwCodes > data.size() * 8 / static_cast<std::size_t>(minSize + 1)) bad();
    std::vector<std::uint8_t> indices(pixels);
    if (!DecodeLzw(data, minSize, indices)) bad();
    auto image = NewImage(pw, ph, source);
    // Interlaced images store rows 0, 8, 16 ...; then 4, 12 ...; 2, 6 ...; 1, 3 ...
    static constexpr int kStart[4] = {0, 4, 2, 1};
    static constexpr int kStep[4] = {8, 8, 4, 2};
    const bool interlaced = (flags & 0x40) != 0;
    int pass = 0, row = 0;
    for (int i = 0; i < h; ++i) {
      int y = i;
      if (interlaced) {
        while (row >= h) {
          ++pass;
          row = kStart[pass];
        }
        y = row;
        row += kStep[pass];
      }
      const int dy = top + y;
      if (dy >= ph) continue;
      const std::uint8_t* src = &indices[static_cast<std::size_t>(i) * static_cast<std::size_t>(w)];
      std::uint32_t* dst =
          &image->pixels[static_cast<std::size_t>(dy) * static_cast<std::size_t>(pw)];
      for (int x = 0; x < w && left + x < pw; ++x) {
        const int c = src[x];
        if (c == transparent) continue;  // stays transparent
        dst[left + x] =
            c < colourCount ? (*colours)[static_cast<std::size_t>(c)] : Argb(255, 0, 0, 0);
      }
    }
    return image;
  }
}

// ---- PNG --------------------------------------------------------------------

// The one of left (a), above (b) and above-left (c) nearest to a + b - c,
// ties going to left, then above: the textbook choice, in a form whose
// comparisons do not wait on one another and compile without branches,
// since no branch predicts picture content. With lo and hi the smaller and
// larger of a and b, and t = 3c - a - b, the estimate is nearest hi when
// t <= lo, nearest lo when t >= hi, and nearest c in between; where a and b
// tie, they are equal or c is nearer.
int Paeth(int a, int b, int c) {
  const int lo = a < b ? a : b;
  const int hi = a < b ? b : a;
  const int t = 3 * c - a - b;
  const int loOrC = hi <= t ? lo : c;
  return t <= lo ? hi : loOrC;
}

// Adds `add` to `to` byte by byte (modulo 256), eight bytes at a time in
// one 64-bit word: the low seven bits of each byte are added together and
// the top bits apart, so no carry crosses into the next byte.
void AddBytes(std::uint8_t* to, const std::uint8_t* add, std::size_t n) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t x, y;
    std::memcpy(&x, to + i, 8);
    std::memcpy(&y, add + i, 8);
    const std::uint64_t sum = ((x & kLow7) + (y & kLow7)) ^ ((x ^ y) & ~kLow7);
    std::memcpy(to + i, &sum, 8);
  }
  for (; i < n; ++i) to[i] = static_cast<std::uint8_t>(to[i] + add[i]);
}

// Undoes the row filters in place; rows are 1 filter byte + `stride` bytes,
// a whole number of `bpp`-byte pixels when the pixels are whole bytes.
// kBpp is bpp known when compiling (for the common 3 and 4, so that the
// per-channel loops unroll), or 0 for any.
template <std::size_t kBpp>
bool Unfilter(std::uint8_t* data, std::size_t stride, std::size_t rows, std::size_t anyBpp) {
  const std::size_t bpp = kBpp ? kBpp : anyBpp;
  // One loop per filter: the backgrounds are a megabyte or more of rows.
  const std::vector<std::uint8_t> none(stride, 0);  // the row above the first
  const std::uint8_t* above = none.data();
  for (std::size_t y = 0; y < rows; ++y) {
    std::uint8_t* row = &data[y * (stride + 1)];
    std::uint8_t* cur = row + 1;
    switch (row[0]) {
      case 0:
        break;
      case 1:
        for (std::size_t x = bpp; x < stride; ++x)
          cur[x] = static_cast<std::uint8_t>(cur[x] + cur[x - bpp]);
        break;
      case 2:
        AddBytes(cur, above, stride);
        break;
      case 3:
        for (std::size_t x = 0; x < bpp; ++x)
          cur[x] = static_cast<std::uint8_t>(cur[x] + above[x] / 2);
        for (std::size_t x = bpp; x < stride; ++x) {
          cur[x] = static_cast<std::uint8_t>(cur[x] + (cur[x - bpp] + above[x]) / 2);
        }
        break;
      case 4: {
        // Each channel's left and above-left neighbours stay in variables
        // rather than being read back from the bytes just written.
        int left[8], upLeft[8];
        for (std::size_t k = 0; k < bpp; ++k) {
          cur[k] = static_cast<std::uint8_t>(cur[k] + above[k]);
          left[k] = cur[k];
          upLeft[k] = above[k];
        }
        for (std::size_t x = bpp; x < stride; x += bpp) {
          for (std::size_t k = 0; k < bpp; ++k) {
            const int up = above[x + k];
            left[k] = (cur[x + k] + Paeth(left[k], up, upLeft[k])) & 0xFF;
            upLeft[k] = up;
            cur[x + k] = static_cast<std::uint8_t>(left[k]);
          }
        }
        break;
      }
      default:
        return false;
    }
    above = cur;
  }
  return true;
}

// Pixels of a row of palette indices or grey levels of `depth` bits,
// packed from each byte's high bits, through `colours`. False for an index
// of `count` or more (a palette shorter than the indices).
bool IndexedRow(const std::uint8_t* row, std::uint32_t* dst, std::uint32_t w, int depth,
                const std::array<std::uint32_t, 256>& colours, std::size_t count) {
  std::size_t highest = 0;
  if (depth == 8) {
    for (std::uint32_t x = 0; x < w; ++x) {
      const std::size_t v = row[x];
      highest = v > highest ? v : highest;
      dst[x] = colours[v];
    }
  } else {
    const unsigned mask = (1u << depth) - 1u;
    for (std::uint32_t x = 0; x < w; ++x) {
      const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(depth);
      const std::size_t v = (row[bit / 8] >> (8 - depth - static_cast<int>(bit % 8))) & mask;
      highest = v > highest ? v : highest;
      dst[x] = colours[v];
    }
  }
  return highest < count;
}

// Pixels of a row of 8-bit (kStep 1) or 16-bit (kStep 2) samples of colour
// type 0, 2, 4 or 6, each shown by its high byte. `key` is the transparent
// colour at full depth (grey, or red, green and blue), -1 where there is
// none.
template <int kStep>
void SampleRow(const std::uint8_t* s, std::uint32_t* dst, std::uint32_t w, int type,
               const int key[3]) {
  auto full = [](const std::uint8_t* q) { return kStep == 2 ? q[0] << 8 | q[1] : q[0]; };
  switch (type) {
    case 0:
      for (std::uint32_t x = 0; x < w; ++x, s += kStep)
        dst[x] = Argb(full(s) == key[0] ? 0 : 255, s[0], s[0], s[0]);
      break;
    case 2:
      for (std::uint32_t x = 0; x < w; ++x, s += 3 * kStep) {
        const bool clear =
            full(s) == key[0] && full(s + kStep) == key[1] && full(s + 2 * kStep) == key[2];
        dst[x] = Argb(clear ? 0 : 255, s[0], s[kStep], s[2 * kStep]);
      }
      break;
    case 4:
      for (std::uint32_t x = 0; x < w; ++x, s += 2 * kStep)
        dst[x] = Argb(s[kStep], s[0], s[0], s[0]);
      break;
    default:
      for (std::uint32_t x = 0; x < w; ++x, s += 4 * kStep)
        dst[x] = Argb(s[3 * kStep], s[0], s[kStep], s[2 * kStep]);
      break;
  }
}

Picture DecodePng(const std::uint8_t* p, std::size_t n, const std::string& source) {
  auto bad = [&]() { Raise(kErrInvalidPicture, source); };
  std::size_t pos = 8;
  std::uint32_t w = 0, h = 0;
  int depth = 0, type = -1;
  std::array<std::uint32_t, 256> palette{};
  std::size_t paletteCount = 0;
  std::vector<std::uint8_t> trns;
  std::vector<std::uint8_t> idat;
  bool header = false, ended = false;
  while (!ended) {
    if (n - pos < 12) bad();
    const std::uint32_t len = Big32(p + pos);
    const std::uint8_t* kind = p + pos + 4;
    const std::uint8_t* data = p + pos + 8;
    if (len > n - pos - 12) bad();
    pos += 12 + static_cast<std::size_t>(len);
    if (!header && std::memcmp(kind, "IHDR", 4) != 0) bad();
    if (std::memcmp(kind, "IHDR", 4) == 0) {
      if (header || len != 13) bad();
      header = true;
      w = Big32(data);
      h = Big32(data + 4);
      depth = data[8];
      type = data[9];
      if (data[10] != 0 || data[11] != 0 || data[12] > 1) bad();
      if (data[12] == 1) return nullptr;  // interlaced: the system's decoder
      if (!SizeAllowed(w, h)) bad();
      const bool ok =
          (type == 0 && (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16)) ||
          (type == 3 && (depth == 1 || depth == 2 || depth == 4 || depth == 8)) ||
          ((type == 2 || type == 4 || type == 6) && (depth == 8 || depth == 16));
      if (!ok) bad();
    } else if (std::memcmp(kind, "PLTE", 4) == 0) {
      if (len % 3 != 0 || len / 3 > 256 || len == 0) bad();
      paletteCount = len / 3;
      for (std::size_t i = 0; i < paletteCount; ++i) {
        palette[i] = Argb(255, data[i * 3], data[i * 3 + 1], data[i * 3 + 2]);
      }
    } else if (std::memcmp(kind, "tRNS", 4) == 0) {
      trns.assign(data, data + len);
    } else if (std::memcmp(kind, "IDAT", 4) == 0) {
      idat.insert(idat.end(), data, data + len);
    } else if (std::memcmp(kind, "IEND", 4) == 0) {
      ended = true;
    } else if (!(kind[0] & 0x20)) {
      bad();  // a critical chunk that this decoder does not know
    }
  }
  if (type == 3 && paletteCount == 0) bad();
  const int channels = type == 2 ? 3 : type == 4 ? 2 : type == 6 ? 4 : 1;
  const std::size_t bits = static_cast<std::size_t>(channels) * static_cast<std::size_t>(depth);
  const std::size_t stride = (static_cast<std::size_t>(w) * bits + 7) / 8;
  const std::size_t bpp = bits < 8 ? 1 : bits / 8;
  const std::size_t expected = (stride + 1) * h;
  // No stream inflates to more than 258 bytes per two bits: a header that
  // promises more is damaged, found before any memory is set aside for it.
  if (expected / 1032 > idat.size() + 1) bad();
  // The rows are inflated into the tail of the pixel buffer and turned into
  // pixels from the top: pixel row y ends no later than filtered row y + 1
  // begins, and row y is copied out before its pixels are written. One
  // buffer instead of two halves the fresh memory that a background touches.
  const std::size_t pixelBytes = std::size_t{4} * w * h;
  const std::size_t total = pixelBytes > expected ? pixelBytes : expected;
  auto image = std::make_shared<Image>();
  image->width = static_cast<int>(w);
  image->height = static_cast<int>(h);
  image->source = source;
  image->pixels.resize((total + 3) / 4);
  std::uint8_t* buffer = reinterpret_cast<std::uint8_t*>(image->pixels.data());
  std::uint8_t* raw = buffer + (total - expected);
  Output sink{raw, expected};
  if (!InflateInto(idat.data(), idat.size(), sink) || sink.size != expected ||
      !(bpp == 3   ? Unfilter<3>(raw, stride, h, bpp)
        : bpp == 4 ? Unfilter<4>(raw, stride, h, bpp)
                   : Unfilter<0>(raw, stride, h, bpp))) {
    bad();
  }
  // Palette indices and grey levels of up to 8 bits become colours through
  // a table; deeper or wider samples by SampleRow. The tRNS colour is
  // compared at full depth.
  const bool indexed = type == 3 || (type == 0 && depth <= 8);
  std::array<std::uint32_t, 256> colours{};
  std::size_t colourCount = 256;
  int key[3] = {-1, -1, -1};
  for (std::size_t i = 0; i < 3 && trns.size() >= 2 * i + 2; ++i)
    key[i] = trns[2 * i] << 8 | trns[2 * i + 1];
  if (type == 2 && trns.size() < 6) key[0] = -1;
  if (type == 3) {
    colourCount = paletteCount;
    for (std::size_t i = 0; i < paletteCount; ++i) {
      const std::uint32_t alpha = i < trns.size() ? trns[i] : 255u;
      colours[i] = (palette[i] & 0xFFFFFFu) | (alpha << 24);
    }
  } else if (indexed) {
    const int top = (1 << depth) - 1;
    for (int v = 0; v <= top; ++v) {
      const auto g = static_cast<std::uint32_t>(v * 255 / top);
      colours[static_cast<std::size_t>(v)] = Argb(v == key[0] ? 0 : 255, g, g, g);
    }
  }
  std::vector<std::uint8_t> copy(stride);
  for (std::uint32_t y = 0; y < h; ++y) {
    std::memcpy(copy.data(), raw + y * (stride + 1) + 1, stride);
    std::uint32_t* dst = &image->pixels[static_cast<std::size_t>(y) * w];
    if (indexed) {
      if (!IndexedRow(copy.data(), dst, w, depth, colours, colourCount)) bad();
    } else if (depth == 8) {
      SampleRow<1>(copy.data(), dst, w, type, key);
    } else {
      SampleRow<2>(copy.data(), dst, w, type, key);
    }
  }
  image->pixels.resize(static_cast<std::size_t>(w) * h);
  if (depth == 16) image->pixels.shrink_to_fit();  // up to twice the pixels' room
  return image;
}

}  // namespace

bool InflateZlib(const std::uint8_t* bytes, std::size_t size, std::size_t limit,
                 std::vector<std::uint8_t>& out) {
  out.resize(limit);
  Output sink{out.data(), limit};
  const bool ok = InflateInto(bytes, size, sink);
  out.resize(ok ? sink.size : 0);
  return ok;
}

Picture DecodeGifOrPng(const std::uint8_t* bytes, std::size_t size, const std::string& source) {
  static constexpr std::uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size >= 6 && (std::memcmp(bytes, "GIF87a", 6) == 0 || std::memcmp(bytes, "GIF89a", 6) == 0)) {
    return DecodeGif(bytes, size, source);
  }
  if (size >= 8 && std::memcmp(bytes, kPng, 8) == 0) return DecodePng(bytes, size, source);
  return nullptr;
}

}  // namespace platform
