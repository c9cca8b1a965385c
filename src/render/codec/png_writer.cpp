#include "render/codec/png_writer.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace cva {

bool EncodePng(const RgbaBitmap& image, bool with_alpha, std::vector<uint8_t>& out,
               std::string& error) {
  out.clear();
  if (image.empty()) {
    error = "the image has no pixels";
    return false;
  }
  std::vector<uint8_t> rgb;
  const void* source = image.pixels().data();
  if (!with_alpha) {
    rgb.resize(static_cast<size_t>(image.width()) * static_cast<size_t>(image.height()) * 3);
    const std::vector<uint8_t>& pixels = image.pixels();
    for (size_t i = 0, o = 0; i < pixels.size(); i += 4, o += 3) {
      rgb[o] = pixels[i];
      rgb[o + 1] = pixels[i + 1];
      rgb[o + 2] = pixels[i + 2];
    }
    source = rgb.data();
  }
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width());
  png.height = static_cast<png_uint_32>(image.height());
  png.format = with_alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  // The first call measures, the second writes.
  if (!png_image_write_to_memory(&png, nullptr, &size, 0, source, 0, nullptr)) {
    error = std::string("cannot encode PNG: ") + png.message;
    return false;
  }
  out.resize(size);
  if (!png_image_write_to_memory(&png, out.data(), &size, 0, source, 0, nullptr)) {
    error = std::string("cannot encode PNG: ") + png.message;
    out.clear();
    return false;
  }
  out.resize(size);
  return true;
}

bool WritePng(const RgbaBitmap& image, const std::string& path, bool with_alpha,
              std::string& error) {
  std::vector<uint8_t> bytes;
  if (!EncodePng(image, with_alpha, bytes, error)) return false;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                       &std::fclose);
  if (!file) {
    error = "cannot open " + path + " for writing";
    return false;
  }
  if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
      std::fclose(file.release()) != 0) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace cva
