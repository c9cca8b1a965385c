#include "render/codec/image_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>
#include <png.h>

#include "render/image/image_limits.h"

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#include <stb/stb_image.h>

namespace cva {
namespace {

bool StartsWith(std::span<const uint8_t> bytes, std::initializer_list<uint8_t> prefix) {
  return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

uint32_t ReadLittle32(std::span<const uint8_t> bytes, size_t at) {
  return uint32_t{bytes[at]} | uint32_t{bytes[at + 1]} << 8 | uint32_t{bytes[at + 2]} << 16 |
         uint32_t{bytes[at + 3]} << 24;
}

bool DecodePng(std::span<const uint8_t> bytes, DecodedImage& out, std::string& error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    error = std::string("damaged PNG: ") + image.message;
    return false;
  }
  if (!ImageSizeAccepted(image.width, image.height, error)) {
    png_image_free(&image);
    return false;
  }
  // The header chunk follows the signature at a fixed place: bit depth at byte 24, colour type
  // at byte 25. Colour type 6 is RGBA.
  out.alpha_channel = bytes.size() > 25 && bytes[24] == 8 && bytes[25] == 6;
  image.format = PNG_FORMAT_RGBA;
  RgbaBitmap pixels(static_cast<int32_t>(image.width), static_cast<int32_t>(image.height));
  if (!png_image_finish_read(&image, nullptr, pixels.mutable_pixels().data(), 0, nullptr)) {
    error = std::string("damaged PNG: ") + image.message;
    png_image_free(&image);
    return false;
  }
  out.pixels = std::move(pixels);
  return true;
}

struct JpegErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool truncated;
};

void JpegErrorExit(j_common_ptr info) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->jump, 1);
}

// Warnings are not shown; data ending before the image is complete (which the library fills
// with grey) is remembered so the load can fail.
void JpegWarning(j_common_ptr info, int level) {
  auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) manager->truncated = true;
}

// Decodes into `pixels`, which the caller owns, so nothing with a destructor lives between the
// setjmp and a longjmp from the library.
bool DecodeJpegInto(std::span<const uint8_t> bytes, RgbaBitmap& pixels, std::string& error) {
  jpeg_decompress_struct info;
  JpegErrorManager manager;
  info.err = jpeg_std_error(&manager.base);
  manager.base.error_exit = JpegErrorExit;
  manager.base.emit_message = JpegWarning;
  manager.message[0] = '\0';
  manager.truncated = false;
  if (setjmp(manager.jump)) {
    jpeg_destroy_decompress(&info);
    error = std::string("damaged JPEG: ") + manager.message;
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (!ImageSizeAccepted(info.image_width, info.image_height, error)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  info.out_color_space = JCS_EXT_RGBA;
  jpeg_start_decompress(&info);
  if (info.output_components != 4 || info.output_width != info.image_width ||
      info.output_height != info.image_height) {
    jpeg_destroy_decompress(&info);
    error = "damaged JPEG: unexpected output layout";
    return false;
  }
  pixels =
      RgbaBitmap(static_cast<int32_t>(info.output_width), static_cast<int32_t>(info.output_height));
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels.MutableRow(static_cast<int32_t>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  if (manager.truncated) {
    error = "damaged JPEG: the data ends before the image";
    return false;
  }
  return true;
}

// A 32-bit BMP whose header names an alpha mask (bit fields, or the larger info headers).
bool BmpHasAlphaChannel(std::span<const uint8_t> bytes) {
  constexpr size_t kInfoHeader = 14;
  if (bytes.size() < kInfoHeader + 20) return false;
  const uint32_t header_size = ReadLittle32(bytes, kInfoHeader);
  const uint32_t bits = uint32_t{bytes[kInfoHeader + 14]} | uint32_t{bytes[kInfoHeader + 15]} << 8;
  const uint32_t compression = ReadLittle32(bytes, kInfoHeader + 16);
  constexpr uint32_t kBitFields = 3;
  constexpr size_t kAlphaMaskAt = kInfoHeader + 52;
  if (bits != 32 || header_size < 56 || compression != kBitFields) return false;
  return bytes.size() >= kAlphaMaskAt + 4 && ReadLittle32(bytes, kAlphaMaskAt) != 0;
}

bool DecodeBmp(std::span<const uint8_t> bytes, DecodedImage& out, std::string& error) {
  if (bytes.size() > static_cast<size_t>(INT32_MAX)) {
    error = "damaged BMP: file too large";
    return false;
  }
  const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
  const int length = static_cast<int>(bytes.size());
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(data, length, &width, &height, &channels)) {
    error = std::string("damaged BMP: ") + stbi_failure_reason();
    return false;
  }
  if (!ImageSizeAccepted(width, height, error)) return false;
  stbi_uc* decoded = stbi_load_from_memory(data, length, &width, &height, &channels, 4);
  if (decoded == nullptr) {
    error = std::string("damaged BMP: ") + stbi_failure_reason();
    return false;
  }
  if (!ImageSizeAccepted(width, height, error)) {
    stbi_image_free(decoded);
    return false;
  }
  out.pixels = RgbaBitmap(width, height);
  std::memcpy(out.pixels.mutable_pixels().data(), decoded, out.pixels.pixels().size());
  stbi_image_free(decoded);
  out.alpha_channel = BmpHasAlphaChannel(bytes);
  if (!out.alpha_channel) {
    // Without an alpha mask the fourth byte is padding: the pixels are opaque.
    for (int32_t y = 0; y < height; ++y) {
      uint8_t* row = out.pixels.MutableRow(y);
      for (int32_t x = 0; x < width; ++x) row[x * 4 + 3] = 255;
    }
  }
  return true;
}

}  // namespace

bool DecodeImage(std::span<const uint8_t> bytes, DecodedImage& out, std::string& error) {
  out = DecodedImage{};
  bool ok = false;
  if (StartsWith(bytes, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) {
    ok = DecodePng(bytes, out, error);
  } else if (StartsWith(bytes, {0xFF, 0xD8, 0xFF})) {
    ok = DecodeJpegInto(bytes, out.pixels, error);
  } else if (StartsWith(bytes, {'B', 'M'})) {
    ok = DecodeBmp(bytes, out, error);
  } else {
    error = bytes.empty() ? "no image data" : "not a PNG, JPEG or BMP image";
  }
  if (!ok) out = DecodedImage{};
  return ok;
}

}  // namespace cva
