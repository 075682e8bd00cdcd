#include "cli/png_writer.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <string_view>
#include <vector>

namespace vellumark {

namespace {

using Bytes = std::vector<std::uint8_t>;

// A thumbnail is at most 255 x 255 pixels, so storing the image data without
// compression (deflate "stored" blocks) keeps the writer small and the file
// under 200 KB.
constexpr std::size_t kStoredBlockLimit = 65535;

std::uint32_t Crc32(const Bytes& bytes, std::size_t from) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) {
        c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
      }
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFU;
  for (std::size_t i = from; i < bytes.size(); ++i) {
    crc = table[(crc ^ bytes[i]) & 0xFFU] ^ (crc >> 8);
  }
  return crc ^ 0xFFFFFFFFU;
}

std::uint32_t Adler32(const Bytes& bytes) {
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (const std::uint8_t byte : bytes) {
    a = (a + byte) % 65521U;
    b = (b + a) % 65521U;
  }
  return (b << 16) | a;
}

void PutBigEndian32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

void PutChunk(Bytes& out, std::string_view type, const Bytes& data) {
  PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeStart = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  PutBigEndian32(out, Crc32(out, typeStart));
}

// zlib stream of stored blocks.
Bytes StoredZlib(const Bytes& raw) {
  Bytes out{0x78, 0x01};
  std::size_t offset = 0;
  do {
    const std::size_t length = std::min(kStoredBlockLimit, raw.size() - offset);
    const bool last = offset + length == raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<std::uint8_t>(length & 0xFF));
    out.push_back(static_cast<std::uint8_t>(length >> 8));
    out.push_back(static_cast<std::uint8_t>(~length & 0xFF));
    out.push_back(static_cast<std::uint8_t>((~length >> 8) & 0xFF));
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
               raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
    offset += length;
  } while (offset < raw.size());
  PutBigEndian32(out, Adler32(raw));
  return out;
}

// Each row starts with filter type 0 (none).
Bytes FilteredRows(const JfifThumbnail& picture) {
  const auto rowBytes = static_cast<std::size_t>(picture.width) * 3;
  Bytes raw;
  for (int y = 0; y < picture.height; ++y) {
    raw.push_back(0);
    const auto row = picture.rgb.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(y) * rowBytes);
    raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
  }
  return raw;
}

}  // namespace

bool WritePng(const std::string& path, const JfifThumbnail& picture) {
  Bytes png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Bytes header;
  PutBigEndian32(header, static_cast<std::uint32_t>(picture.width));
  PutBigEndian32(header, static_cast<std::uint32_t>(picture.height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit depth, RGB, deflate, no filter, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", StoredZlib(FilteredRows(picture)));
  PutChunk(png, "IEND", {});
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  return static_cast<bool>(out.flush());
}

}  // namespace vellumark
