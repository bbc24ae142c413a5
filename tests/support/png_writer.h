// A small, deterministic PNG encoder for reference images: 8-bit RGB, "Sub" filter on every
// row, deflate with the fixed Huffman codes and a greedy hash match. The same pixels always
// give the same bytes, so references can be compared byte for byte.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/graphics/gapi.h"

namespace png {

namespace detail {

inline uint32_t Crc(const uint8_t* data, size_t n, uint32_t crc = 0xFFFFFFFFu) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc;
}

class BitWriter {
 public:
  void Bits(uint32_t value, int count) {  // least significant bit first
    for (int i = 0; i < count; ++i) Bit((value >> i) & 1);
  }
  void Code(uint32_t code, int length) {  // Huffman codes go most significant bit first
    for (int i = length - 1; i >= 0; --i) Bit((code >> i) & 1);
  }
  std::vector<uint8_t> Finish() {
    if (m_used != 0) m_out.push_back(m_byte);
    m_byte = 0;
    m_used = 0;
    return std::move(m_out);
  }

 private:
  void Bit(uint32_t b) {
    m_byte |= static_cast<uint8_t>(b << m_used);
    if (++m_used == 8) {
      m_out.push_back(m_byte);
      m_byte = 0;
      m_used = 0;
    }
  }
  std::vector<uint8_t> m_out;
  uint8_t m_byte = 0;
  int m_used = 0;
};

inline void Literal(BitWriter& w, int v) {
  if (v < 144) {
    w.Code(0x30 + v, 8);
  } else if (v < 256) {
    w.Code(0x190 + v - 144, 9);
  } else if (v < 280) {
    w.Code(v - 256, 7);
  } else {
    w.Code(0xC0 + v - 280, 8);
  }
}

inline void Match(BitWriter& w, int length, int distance) {
  static const int lenBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  static const int lenExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  static const int distBase[] = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                 33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
  static const int distExtra[] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                  6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
  int li = 28;
  while (lenBase[li] > length) --li;
  Literal(w, 257 + li);
  w.Bits(length - lenBase[li], lenExtra[li]);
  int di = 29;
  while (distBase[di] > distance) --di;
  w.Code(di, 5);
  w.Bits(distance - distBase[di], distExtra[di]);
}

inline std::vector<uint8_t> Deflate(const std::vector<uint8_t>& in) {
  constexpr int kWindow = 32768;
  constexpr int kHashSize = 1 << 16;
  std::vector<int> head(kHashSize, -1);
  BitWriter w;
  w.Bits(1, 1);  // final block
  w.Bits(1, 2);  // fixed Huffman codes
  const int n = static_cast<int>(in.size());
  auto hash = [&](int i) {
    return ((in[i] << 10) ^ (in[i + 1] << 5) ^ in[i + 2]) & (kHashSize - 1);
  };
  int i = 0;
  while (i < n) {
    int best = 0, dist = 0;
    if (i + 2 < n) {
      const int h = hash(i);
      const int cand = head[h];
      head[h] = i;
      if (cand >= 0 && i - cand <= kWindow) {
        int len = 0;
        while (len < 258 && i + len < n && in[cand + len] == in[i + len]) ++len;
        if (len >= 3) {
          best = len;
          dist = i - cand;
        }
      }
    }
    if (best >= 3) {
      Match(w, best, dist);
      for (int k = 1; k < best && i + k + 2 < n; ++k) head[hash(i + k)] = i + k;
      i += best;
    } else {
      Literal(w, in[i]);
      ++i;
    }
  }
  Literal(w, 256);
  std::vector<uint8_t> out = {0x78, 0x01};
  const std::vector<uint8_t> body = w.Finish();
  out.insert(out.end(), body.begin(), body.end());
  uint32_t a = 1, b = 0;
  for (uint8_t c : in) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  const uint32_t adler = (b << 16) | a;
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(adler >> s));
  return out;
}

inline void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  const uint32_t n = static_cast<uint32_t>(data.size());
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(n >> s));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uint32_t crc = Crc(out.data() + start, out.size() - start) ^ 0xFFFFFFFFu;
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(crc >> s));
}

}  // namespace detail

// The surface's pixels as PNG bytes.
inline std::vector<uint8_t> Encode(const CGapiSurface& surface) {
  const int w = static_cast<int>(surface.GetWidth());
  const int h = static_cast<int>(surface.GetHeight());
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(h) * (1 + 3 * w));
  for (int y = 0; y < h; ++y) {
    raw.push_back(1);  // Sub: each byte minus the one of the pixel to its left
    uint8_t prev[3] = {0, 0, 0};
    for (int x = 0; x < w; ++x) {
      const DWORD p = surface.GetPixel(x, y);
      const uint8_t rgb[3] = {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                              static_cast<uint8_t>(p)};
      for (int c = 0; c < 3; ++c) {
        raw.push_back(static_cast<uint8_t>(rgb[c] - prev[c]));
        prev[c] = rgb[c];
      }
    }
  }
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  for (uint32_t v : {static_cast<uint32_t>(w), static_cast<uint32_t>(h)}) {
    for (int s = 24; s >= 0; s -= 8) ihdr.push_back(static_cast<uint8_t>(v >> s));
  }
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
  detail::Chunk(out, "IHDR", ihdr);
  detail::Chunk(out, "IDAT", detail::Deflate(raw));
  detail::Chunk(out, "IEND", {});
  return out;
}

inline bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

inline bool ReadFile(const std::string& path, std::vector<uint8_t>* bytes) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  bytes->clear();
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes->insert(bytes->end(), buf, buf + n);
  std::fclose(f);
  return true;
}

}  // namespace png
