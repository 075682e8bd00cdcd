#include "cli/png_writer.h"

#include <filesystem>
#include <fstream>
#include <string>

// stb's encoder is compiled here only, its functions private to this file, and
// without its own file access: opening the file, Unicode names on Windows and
// write errors stay ours.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace vellumark {

namespace {

constexpr int kRgbComponents = 3;

void WriteToStream(void* context, void* data, int size) {
  static_cast<std::ofstream*>(context)->write(static_cast<const char*>(data), size);
}

}  // namespace

bool WritePng(const std::string& path, const JfifThumbnail& picture) {
  // Through std::u8string so that a Windows build opens the file by its
  // UTF-16 name rather than in the ANSI code page.
  std::ofstream out(std::filesystem::path(std::u8string(path.begin(), path.end())),
                    std::ios::binary | std::ios::trunc);
  const int encoded = stbi_write_png_to_func(WriteToStream, &out, picture.width, picture.height, kRgbComponents,
                                             picture.rgb.data(), picture.width * kRgbComponents);
  return encoded != 0 && static_cast<bool>(out.flush());
}

}  // namespace vellumark
