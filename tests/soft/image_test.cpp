// Image decoding, the power-of-two texture stretch, alpha masks and damaged files.

#include <gtest/gtest.h>

#include <cstdio>

#include <jpeglib.h>

#include "render/codec/image_decoder.h"
#include "render/image/image_limits.h"
#include "render/soft/soft_image.h"
#include "render/soft/texture_stretch.h"
#include "soft_test_support.h"
#include "support/recording_services.h"

namespace cva::testing {
namespace {

std::vector<uint8_t> JpegOf(int32_t width, int32_t height, Texel colour) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row;
  for (int32_t x = 0; x < width; ++x) row.insert(row.end(), {colour.r, colour.g, colour.b});
  while (info.next_scanline < info.image_height) {
    JSAMPROW pointer = row.data();
    jpeg_write_scanlines(&info, &pointer, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

void PutLittle(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A bottom-up BMP. 24 bits: BGR rows padded to 4 bytes. 32 bits: a version 4 header with
// bit fields naming an alpha mask, BGRA pixels.
std::vector<uint8_t> BmpOf(const std::vector<std::vector<Texel>>& rows, int bits) {
  const int32_t width = static_cast<int32_t>(rows[0].size());
  const int32_t height = static_cast<int32_t>(rows.size());
  const uint32_t header = bits == 32 ? 108 : 40;
  const uint32_t stride = (static_cast<uint32_t>(width) * (bits / 8) + 3) / 4 * 4;
  const uint32_t offset = 14 + header;
  std::vector<uint8_t> bytes(offset + stride * static_cast<uint32_t>(height));
  bytes[0] = 'B';
  bytes[1] = 'M';
  PutLittle(bytes, 2, static_cast<uint32_t>(bytes.size()), 4);
  PutLittle(bytes, 10, offset, 4);
  PutLittle(bytes, 14, header, 4);
  PutLittle(bytes, 18, static_cast<uint32_t>(width), 4);
  PutLittle(bytes, 22, static_cast<uint32_t>(height), 4);
  PutLittle(bytes, 26, 1, 2);
  PutLittle(bytes, 28, static_cast<uint32_t>(bits), 2);
  if (bits == 32) {
    PutLittle(bytes, 30, 3, 4);  // bit fields
    PutLittle(bytes, 54, 0x00FF0000, 4);
    PutLittle(bytes, 58, 0x0000FF00, 4);
    PutLittle(bytes, 62, 0x000000FF, 4);
    PutLittle(bytes, 66, 0xFF000000, 4);
  }
  for (int32_t y = 0; y < height; ++y) {
    size_t at = offset + stride * static_cast<uint32_t>(height - 1 - y);
    for (const Texel& t : rows[static_cast<size_t>(y)]) {
      bytes[at++] = t.b;
      bytes[at++] = t.g;
      bytes[at++] = t.r;
      if (bits == 32) bytes[at++] = t.a;
    }
  }
  return bytes;
}

// CRC-32 of PNG chunks, for headers patched by tests.
uint32_t Crc32(const uint8_t* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

class SoftImageTest : public ::testing::Test {
 protected:
  SoftImageTest() : frame(4, 4) {}
  const SoftImage& Soft(const std::unique_ptr<ImageResource>& image) {
    return static_cast<const SoftImage&>(*image);
  }
  RecordingServices services;
  SoftFrame frame;
};

TEST_F(SoftImageTest, ThreeByOneImageIsStretchedIntoAFourTexelTexture) {
  auto image = frame.Image("rgb.png", PngOf(TextureOf({{kRed, kGreen, kBlue}})));
  ASSERT_TRUE(image->done());
  EXPECT_EQ(image->Size(), (ImageSize{3, 1}));
  // Texel x shows image pixel floor(x * 3 / 4).
  EXPECT_EQ(Soft(image).texture(), TextureOf({{kRed, kRed, kGreen, kBlue}}));
  // The sprite still spans the image's own three pixels, over the whole texture.
  frame.Modes(DrawState::kBlendOpaque, DrawState::kNoMask, 255);
  auto sprite = frame.provider.CreateSprite();
  sprite->SetImage(image.get());
  sprite->SetSize({3, 1});
  MatrixTransform identity;
  sprite->DrawPlain(identity, {255, 255, 255, 255});
  EXPECT_EQ(frame.At(0, 0), kRed);
  EXPECT_EQ(frame.At(2, 0), kGreen);  // u = 2/3 lands on texel 2
  EXPECT_EQ(frame.At(3, 0), kBlack);
}

TEST(TextureStretchTest, RoundsEachSideUpToAPowerOfTwo) {
  EXPECT_EQ(NextPowerOfTwo(0), 1);
  EXPECT_EQ(NextPowerOfTwo(1), 1);
  EXPECT_EQ(NextPowerOfTwo(5), 8);
  EXPECT_EQ(NextPowerOfTwo(64), 64);
  const SoftTexture tall = StretchToPowerOfTwo(TextureOf({{kRed}, {kGreen}, {kBlue}}));
  EXPECT_EQ(tall, TextureOf({{kRed}, {kRed}, {kGreen}, {kBlue}}));
  const SoftTexture square = TextureOf({{kRed, kGreen}, {kBlue, kWhite}});
  EXPECT_EQ(StretchToPowerOfTwo(square), square);
}

TEST_F(SoftImageTest, AlphaMaskComesFromTheImageAtItsOwnSize) {
  // 3 x 2 with transparent pixels at (1, 0) and (2, 1) and a barely opaque one at (0, 1).
  const Texel faint{10, 10, 10, 1};
  auto image =
      frame.Image("holes.png", PngOf(TextureOf({{kRed, kClear, kGreen}, {faint, kBlue, kClear}})));
  ASSERT_TRUE(image->done());
  EXPECT_EQ(Soft(image).alpha_mask().bytes(), (std::vector<uint8_t>{255, 0, 255, 1, 255, 0}));
  const bool expected[2][3] = {{true, false, true}, {true, true, false}};
  for (int32_t y = 0; y < 2; ++y) {
    for (int32_t x = 0; x < 3; ++x) {
      EXPECT_EQ(image->HitTest(x, y), expected[y][x]) << x << ", " << y;
    }
  }
  // Outside the image nothing hits (x = 3 would otherwise wrap onto the next row).
  EXPECT_FALSE(image->HitTest(3, 0));
  EXPECT_FALSE(image->HitTest(-1, 0));
  EXPECT_FALSE(image->HitTest(0, 2));
}

TEST_F(SoftImageTest, ImagesWithoutAnAlphaChannelHaveNoMask) {
  std::vector<uint8_t> rgb_png;
  std::string error;
  ASSERT_TRUE(EncodePng(TextureOf({{kRed, kGreen, kBlue}}), false, rgb_png, error));
  auto png = frame.Image("rgb.png", rgb_png);
  auto jpeg = frame.Image("photo.jpg", JpegOf(8, 8, {200, 100, 50, 255}));
  auto bmp = frame.Image("old.bmp", BmpOf({{kRed, kGreen}, {kBlue, kWhite}}, 24));
  for (const auto* image : {png.get(), jpeg.get(), bmp.get()}) {
    ASSERT_TRUE(image->done());
    EXPECT_TRUE(static_cast<const SoftImage*>(image)->alpha_mask().empty());
    EXPECT_TRUE(image->HitTest(0, 0));
    EXPECT_TRUE(image->HitTest(100, 100));  // without a mask every point hits
  }
}

TEST_F(SoftImageTest, DecodesPngJpegAndBmp) {
  DecodedImage decoded;
  std::string error;
  const SoftTexture pattern = TextureOf({{kRed, kClear}, {kBlue, {1, 2, 3, 128}}});
  ASSERT_TRUE(DecodeImage(PngOf(pattern), decoded, error)) << error;
  EXPECT_EQ(decoded.pixels, pattern);
  EXPECT_TRUE(decoded.alpha_channel);

  ASSERT_TRUE(DecodeImage(JpegOf(16, 8, {200, 100, 50, 255}), decoded, error)) << error;
  ASSERT_EQ(decoded.pixels.width(), 16);
  ASSERT_EQ(decoded.pixels.height(), 8);
  const Texel t = decoded.pixels.At(9, 5);
  EXPECT_NEAR(t.r, 200, 3);
  EXPECT_NEAR(t.g, 100, 3);
  EXPECT_NEAR(t.b, 50, 3);
  EXPECT_EQ(t.a, 255);
  EXPECT_FALSE(decoded.alpha_channel);

  // Three pixels wide: rows padded to 12 bytes; stored bottom-up.
  const auto rows = std::vector<std::vector<Texel>>{{kRed, kGreen, kBlue}, {kWhite, kBlack, kRed}};
  ASSERT_TRUE(DecodeImage(BmpOf(rows, 24), decoded, error)) << error;
  EXPECT_EQ(decoded.pixels, TextureOf(rows));
  EXPECT_FALSE(decoded.alpha_channel);

  const auto alpha_rows = std::vector<std::vector<Texel>>{{kRed, {0, 255, 0, 0}}};
  ASSERT_TRUE(DecodeImage(BmpOf(alpha_rows, 32), decoded, error)) << error;
  EXPECT_EQ(decoded.pixels, TextureOf(alpha_rows));
  EXPECT_TRUE(decoded.alpha_channel);
}

TEST_F(SoftImageTest, DamagedFilesFailCleanlyAndCanBeRetried) {
  const std::vector<uint8_t> png = PngOf(TextureOf({{kRed, kGreen}, {kBlue, kWhite}}));
  std::vector<uint8_t> bad_crc = png;
  bad_crc[bad_crc.size() - 20] ^= 0x55;  // inside the image data
  std::vector<uint8_t> huge = png;       // the header claims 100000 x 2
  huge[16] = 0x00;
  huge[17] = 0x01;
  huge[18] = 0x86;
  huge[19] = 0xA0;
  const uint32_t crc = Crc32(&huge[12], 17);
  for (int i = 0; i < 4; ++i) huge[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  const std::vector<uint8_t> jpeg = JpegOf(16, 16, {1, 2, 3, 255});
  std::vector<uint8_t> huge_bmp = BmpOf({{kRed}}, 24);
  PutLittle(huge_bmp, 18, 70000, 4);

  const std::vector<std::pair<std::string, std::vector<uint8_t>>> cases = {
      {"empty", {}},
      {"text", {'h', 'e', 'l', 'l', 'o'}},
      {"png signature only", std::vector<uint8_t>(png.begin(), png.begin() + 8)},
      {"truncated png", std::vector<uint8_t>(png.begin(), png.begin() + png.size() / 2)},
      {"png with bad data", bad_crc},
      {"png too large", huge},
      {"truncated jpeg", std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2)},
      {"jpeg marker only", {0xFF, 0xD8, 0xFF}},
      {"bmp header only", {'B', 'M', 0, 0}},
      {"bmp too large", huge_bmp},
  };
  for (const auto& [label, bytes] : cases) {
    SCOPED_TRACE(label);
    services.errors.clear();
    auto image = frame.Image("bad.img", bytes);
    EXPECT_EQ(image->state(), LoadableResource::kFailed);
    EXPECT_EQ(image->Size(), (ImageSize{}));
    EXPECT_EQ(SoftProvider::TextureOf(image.get()), nullptr);
    ASSERT_EQ(services.errors.size(), 1u);
    EXPECT_EQ(services.errors[0].rfind("bad.img: ", 0), 0u) << services.errors[0];
  }
  // A later start fetches the bytes again.
  auto image = frame.Image("retry.png", {1, 2, 3});
  ASSERT_EQ(image->state(), LoadableResource::kFailed);
  frame.files["retry.png"] = png;
  image->Start();
  image->Poll();
  image->Poll();
  EXPECT_TRUE(image->done());
  EXPECT_EQ(image->Size(), (ImageSize{2, 2}));
}

// Every truncation and many single-byte changes of valid files: each either decodes to an
// image within the limits or fails with a reason, and never leaves half an image behind.
TEST(ImageDecoderTest, DamagedVariantsEitherDecodeOrFailWithAReason) {
  const std::vector<std::vector<uint8_t>> files = {
      PngOf(TextureOf({{kRed, kClear, kBlue}, {kGreen, kWhite, {1, 2, 3, 4}}})),
      JpegOf(16, 16, {90, 160, 30, 255}),
      BmpOf({{kRed, kGreen, kBlue}, {kWhite, kBlack, kRed}}, 24),
      BmpOf({{kRed, {0, 255, 0, 7}}}, 32)};
  int failures = 0;
  for (const std::vector<uint8_t>& file : files) {
    std::vector<std::vector<uint8_t>> variants;
    for (size_t length = 0; length < file.size(); ++length) {
      variants.emplace_back(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
    }
    for (size_t at = 0; at < file.size(); at += 1 + at / 16) {
      for (uint8_t value : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t{0x80}}) {
        variants.push_back(file);
        variants.back()[at] = value;
      }
    }
    for (const std::vector<uint8_t>& bytes : variants) {
      DecodedImage decoded;
      std::string error;
      if (DecodeImage(bytes, decoded, error)) {
        ASSERT_FALSE(decoded.pixels.empty());
        ASSERT_LE(int64_t{decoded.pixels.width()} * decoded.pixels.height(), kMaxImagePixels);
      } else {
        ++failures;
        ASSERT_FALSE(error.empty());
        ASSERT_TRUE(decoded.pixels.empty());
      }
    }
  }
  EXPECT_GT(failures, 100);  // the truncations alone fail
}

TEST_F(SoftImageTest, MissingNameFailsAndUnloadForgetsTheImage) {
  auto missing = frame.Image("absent.png", {});
  frame.files.erase("absent.png");
  missing->Unload();
  missing->Start();
  EXPECT_EQ(missing->state(), LoadableResource::kFailed);
  auto image = frame.Image("ok.png", PngOf(TextureOf({{kRed, kClear}})));
  ASSERT_TRUE(image->done());
  image->Unload();
  EXPECT_EQ(image->Size(), (ImageSize{}));
  EXPECT_TRUE(image->HitTest(1, 0));  // no mask any more
  EXPECT_EQ(SoftProvider::TextureOf(image.get()), nullptr);
}

}  // namespace
}  // namespace cva::testing
