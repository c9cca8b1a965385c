// cvaicon: draws the player's icons (32 x 32, 32-bit with alpha) and writes them as .ico
// files, so that the template's icons are made from this source rather than kept as binaries.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 32;

struct Rgba {
  uint8_t r, g, b, a;
};

// A rounded square of the stage colour with a play triangle; the variant changes the
// triangle's colour so the two icons can be told apart.
std::vector<Rgba> Draw(bool small_variant) {
  std::vector<Rgba> pixels(kSide * kSide, Rgba{0, 0, 0, 0});
  const Rgba stage{24, 32, 48, 255};
  const Rgba mark = small_variant ? Rgba{90, 200, 160, 255} : Rgba{240, 180, 60, 255};
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      // Distance outside a square inset by the corner radius: rounded corners of radius 6.
      const float cx = std::fmax(std::fabs(x + 0.5f - 16.0f) - 10.0f, 0.0f);
      const float cy = std::fmax(std::fabs(y + 0.5f - 16.0f) - 10.0f, 0.0f);
      if (std::sqrt(cx * cx + cy * cy) > 6.0f) continue;
      Rgba colour = stage;
      // The triangle: from (11, 8) and (11, 24) to (24, 16).
      const float px = x + 0.5f, py = y + 0.5f;
      if (px >= 11.0f && std::fabs(py - 16.0f) <= (24.0f - px) * 8.0f / 13.0f) colour = mark;
      pixels[y * kSide + x] = colour;
    }
  }
  return pixels;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// One icon image: a bottom-up 32-bit DIB of twice the height (colour rows, then the mask).
std::vector<uint8_t> IconFile(const std::vector<Rgba>& pixels) {
  std::vector<uint8_t> image;
  Put32(image, 40);
  Put32(image, kSide);
  Put32(image, kSide * 2);
  Put16(image, 1);
  Put16(image, 32);
  for (int i = 0; i < 6; ++i) Put32(image, 0);
  for (int y = kSide - 1; y >= 0; --y) {
    for (int x = 0; x < kSide; ++x) {
      const Rgba& p = pixels[y * kSide + x];
      image.insert(image.end(), {p.b, p.g, p.r, p.a});
    }
  }
  // The mask: 1 where transparent, rows of 32 bits.
  for (int y = kSide - 1; y >= 0; --y) {
    uint32_t bits = 0;
    for (int x = 0; x < kSide; ++x)
      if (pixels[y * kSide + x].a == 0) bits |= 0x80000000u >> x;
    image.insert(image.end(), {static_cast<uint8_t>(bits >> 24), static_cast<uint8_t>(bits >> 16),
                               static_cast<uint8_t>(bits >> 8), static_cast<uint8_t>(bits)});
  }
  std::vector<uint8_t> file;
  Put16(file, 0);  // reserved
  Put16(file, 1);  // icon
  Put16(file, 1);  // one image
  file.insert(file.end(), {kSide, kSide, 0, 0});
  Put16(file, 1);   // planes
  Put16(file, 32);  // bits per pixel
  Put32(file, static_cast<uint32_t>(image.size()));
  Put32(file, 22);  // the image follows the directory
  file.insert(file.end(), image.begin(), image.end());
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  const bool help = argc > 1 && std::strcmp(argv[1], "--help") == 0;
  if (help || argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--second") != 0)) {
    std::fputs(
        "usage: cvaicon OUT.ico [--second]\n"
        "  Writes the player's 32 x 32 icon (with --second, the second icon, whose mark\n"
        "  is green instead of orange).\n",
        help ? stdout : stderr);
    return help ? 0 : 2;
  }
  const std::vector<uint8_t> file = IconFile(Draw(argc == 3));
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "cvaicon: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
