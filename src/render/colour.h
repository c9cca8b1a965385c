#pragma once

#include <cstdint>

namespace cva {

// Four bytes in the order documents store them: red, green, blue, alpha.
struct Colour {
  uint8_t red = 255;
  uint8_t green = 255;
  uint8_t blue = 255;
  uint8_t alpha = 255;
  friend bool operator==(const Colour&, const Colour&) = default;

  // Byte-wise product of two colours, each divided by 255 and truncated.
  Colour Modulated(const Colour& other) const {
    return {Mul(red, other.red), Mul(green, other.green), Mul(blue, other.blue),
            Mul(alpha, other.alpha)};
  }

 private:
  static uint8_t Mul(uint8_t a, uint8_t b) { return static_cast<uint8_t>(a * b / 255); }
};

}  // namespace cva
