#include "png_file.h"

#include <png.h>

#include <cstring>

namespace cva::render_tool {

bool WritePng(const std::string& path, const RgbaImage& image, std::string& error) {
  if (image.empty() ||
      image.pixels.size() != static_cast<size_t>(image.width) * image.height * 4u) {
    error = "no picture to write to '" + path + "'";
    return false;
  }
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width);
  png.height = static_cast<png_uint_32>(image.height);
  png.format = PNG_FORMAT_RGBA;
  if (!png_image_write_to_file(&png, path.c_str(), 0, image.pixels.data(), 0, nullptr)) {
    error = "cannot write '" + path + "': " + png.message;
    png_image_free(&png);
    return false;
  }
  return true;
}

bool ReadPng(const std::string& path, RgbaImage& image, std::string& error) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) {
    error = "cannot read '" + path + "': " + png.message;
    png_image_free(&png);
    return false;
  }
  if (png.width == 0 || png.height == 0 || png.width > kMaxPngSide || png.height > kMaxPngSide) {
    error = "'" + path + "' is " + std::to_string(png.width) + " x " + std::to_string(png.height) +
            " pixels, outside the sizes read";
    png_image_free(&png);
    return false;
  }
  png.format = PNG_FORMAT_RGBA;
  RgbaImage out(static_cast<int32_t>(png.width), static_cast<int32_t>(png.height));
  if (!png_image_finish_read(&png, nullptr, out.pixels.data(), 0, nullptr)) {
    error = "cannot decode '" + path + "': " + png.message;
    png_image_free(&png);
    return false;
  }
  image = std::move(out);
  return true;
}

}  // namespace cva::render_tool
