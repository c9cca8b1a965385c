#include "json_values.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "system/text_codec.h"

namespace cva::json {
namespace {

constexpr int kMaxTextBytes = 0x7FFF;  // a stored length is a signed 16-bit value

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool HasZero(const std::vector<uint8_t>& bytes, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (bytes[i] == 0) return true;
  return false;
}

// UTF-16 code units from little-endian bytes (an even count).
std::u16string Units(const std::vector<uint8_t>& bytes, size_t n) {
  std::u16string units;
  units.reserve(n / 2);
  for (size_t i = 0; i + 1 < n; i += 2)
    units.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  return units;
}

Json HexText(const StoredText& text) {
  Json out = Json::object();
  out["encoding"] = text.encoding;
  out["hex"] = ToHex(text.bytes);
  return out;
}

Json NamedText(const char* encoding, std::string utf8, bool terminated) {
  Json out = Json::object();
  out[encoding] = std::move(utf8);
  if (terminated) out["terminated"] = true;
  return out;
}

bool SetBytes(StoredText& text, uint8_t encoding, std::vector<uint8_t> bytes, std::string& why) {
  if (bytes.size() > kMaxTextBytes) {
    why = "a text of at most 32767 bytes (this one has " + std::to_string(bytes.size()) + ")";
    return false;
  }
  text.encoding = encoding;
  text.length = static_cast<int16_t>(bytes.size());
  text.bytes = std::move(bytes);
  return true;
}

bool ShiftJisFromUtf8(const std::string& utf8, std::vector<uint8_t>& bytes, std::string& why) {
  const std::string sjis = Utf8ToCp932(utf8);
  if (Cp932ToUtf8(sjis) != utf8) {
    why = "text that Shift-JIS can represent (use {\"utf16\": ...} for other characters)";
    return false;
  }
  bytes.assign(sjis.begin(), sjis.end());
  return true;
}

bool Utf16FromUtf8(const std::string& utf8, std::vector<uint8_t>& bytes, std::string& why) {
  const std::u16string units = Utf8ToUtf16(utf8);
  if (Utf16ToUtf8(units) != utf8) {
    why = "valid UTF-8 text";
    return false;
  }
  bytes.clear();
  for (char16_t u : units) {
    bytes.push_back(static_cast<uint8_t>(u & 0xFF));
    bytes.push_back(static_cast<uint8_t>(u >> 8));
  }
  return true;
}

bool OptionalBool(const Json& j, const char* key, bool& value, std::string& why) {
  auto it = j.find(key);
  if (it == j.end()) return true;
  if (!it->is_boolean()) {
    why = std::string("true or false for \"") + key + "\"";
    return false;
  }
  value = it->get<bool>();
  return true;
}

}  // namespace

std::string ToHex(const std::vector<uint8_t>& bytes) {
  static const char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 0xF]);
  }
  return out;
}

bool FromHex(const std::string& hex, std::vector<uint8_t>& bytes, std::string& why) {
  bytes.clear();
  bytes.reserve(hex.size() / 2);
  int high = -1;
  for (char c : hex) {
    if (c == ' ') {
      if (high >= 0) break;  // a space inside a pair
      continue;
    }
    const int d = HexDigit(c);
    if (d < 0) {
      why = "hex digits in pairs";
      return false;
    }
    if (high < 0) {
      high = d;
    } else {
      bytes.push_back(static_cast<uint8_t>(high * 16 + d));
      high = -1;
    }
  }
  if (high >= 0) {
    why = "hex digits in pairs";
    return false;
  }
  return true;
}

Json FlagToJson(const Flag& flag) {
  if (flag.raw == 0) return false;
  if (flag.raw == 1) return true;
  return flag.raw;
}

bool FlagFromJson(const Json& j, Flag& flag, std::string& why) {
  if (j.is_boolean()) {
    flag.raw = j.get<bool>() ? 1 : 0;
    return true;
  }
  int64_t raw = 0;
  if (!IntegerFromJson(j, 0, 255, raw, why)) {
    why = "true, false or a byte value from 0 to 255";
    return false;
  }
  flag.raw = static_cast<uint8_t>(raw);
  return true;
}

bool IntegerFromJson(const Json& j, int64_t low, int64_t high, int64_t& value, std::string& why) {
  bool in_range = false;
  if (j.is_number_unsigned()) {
    const uint64_t u = j.get<uint64_t>();
    in_range = high >= 0 && u <= static_cast<uint64_t>(high);
    value = static_cast<int64_t>(u);
  } else if (j.is_number_integer()) {
    value = j.get<int64_t>();
    in_range = value >= low && value <= high;
  }
  if (!in_range) {
    why = "an integer from " + std::to_string(low) + " to " + std::to_string(high);
    return false;
  }
  return true;
}

Json FloatToJson(float value) {
  if (!std::isfinite(value)) {
    char bits[16];
    std::snprintf(bits, sizeof bits, "0x%08x", std::bit_cast<uint32_t>(value));
    return bits;
  }
  // The shortest decimal form of the float, given to the JSON library as the double nearest
  // to it, so that the dump shows 0.1 rather than 0.10000000149011612.
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  double shortest = 0;
  std::from_chars(text, end, shortest);
  if (std::bit_cast<uint32_t>(static_cast<float>(shortest)) == std::bit_cast<uint32_t>(value))
    return shortest;
  return static_cast<double>(value);
}

bool FloatFromJson(const Json& j, float& value, std::string& why) {
  if (j.is_string()) {
    const std::string& s = j.get_ref<const std::string&>();
    uint32_t bits = 0;
    const char* first = s.data() + 2;
    const char* last = s.data() + s.size();
    if (s.size() == 10 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X') &&
        std::from_chars(first, last, bits, 16).ptr == last) {
      value = std::bit_cast<float>(bits);
      return true;
    }
  } else if (j.is_number()) {
    const double d = j.get<double>();
    const float f = static_cast<float>(d);
    if (std::isfinite(f)) {
      value = f;
      return true;
    }
  }
  why = "a number within the range of a 32-bit float, or \"0x\" and 8 hex digits of its bits";
  return false;
}

Json TextToJson(const StoredText& text) {
  if (text.length <= 0) {
    if (text.length == 0) return "";
    Json out = Json::object();
    out["length"] = text.length;
    return out;
  }
  const std::vector<uint8_t>& b = text.bytes;
  const size_t n = b.size();
  if (text.encoding == 1) {
    const bool terminated = n >= 1 && b[n - 1] == 0;
    const size_t body = terminated ? n - 1 : n;
    if (!HasZero(b, body)) {
      const std::string sjis(b.begin(), b.begin() + body);
      std::string utf8 = Cp932ToUtf8(sjis);
      if (Utf8ToCp932(utf8) == sjis)
        return terminated ? NamedText("sjis", std::move(utf8), true) : Json(std::move(utf8));
    }
  } else if (text.encoding == 0 && n % 2 == 0) {
    const bool terminated = n >= 2 && b[n - 1] == 0 && b[n - 2] == 0;
    const size_t body = terminated ? n - 2 : n;
    const std::u16string units = Units(b, body);
    if (units.find(u'\0') == std::u16string::npos) {
      std::string utf8 = Utf16ToUtf8(units);
      if (Utf8ToUtf16(utf8) == units) return NamedText("utf16", std::move(utf8), terminated);
    }
  }
  return HexText(text);
}

bool TextFromJson(const Json& j, StoredText& text, std::string& why) {
  text = StoredText();
  if (j.is_string()) {
    std::vector<uint8_t> bytes;
    return ShiftJisFromUtf8(j.get_ref<const std::string&>(), bytes, why) &&
           SetBytes(text, 1, std::move(bytes), why);
  }
  const char* const kForms =
      "a string, or an object with \"sjis\", \"utf16\", \"encoding\" and \"hex\", or \"length\"";
  if (!j.is_object()) {
    why = kForms;
    return false;
  }
  for (auto it = j.begin(); it != j.end(); ++it) {
    const std::string& key = it.key();
    if (key.starts_with("_")) continue;  // a comment
    if (key != "sjis" && key != "utf16" && key != "terminated" && key != "encoding" &&
        key != "hex" && key != "length") {
      why = "a text object without the key \"" + key + "\"";
      return false;
    }
  }
  const bool sjis = j.contains("sjis"), utf16 = j.contains("utf16"), hex = j.contains("hex");
  const bool length = j.contains("length"), encoding = j.contains("encoding");
  if (sjis + utf16 + hex + length != 1 || encoding != hex ||
      (j.contains("terminated") && !sjis && !utf16)) {
    why = kForms;
    return false;
  }
  if (length) {
    int64_t n = 0;
    if (!IntegerFromJson(j["length"], -32768, 0, n, why)) return false;
    text.length = static_cast<int16_t>(n);
    return true;
  }
  std::vector<uint8_t> bytes;
  if (hex) {
    int64_t e = 0;
    if (!IntegerFromJson(j["encoding"], 0, 255, e, why)) return false;
    if (!j["hex"].is_string()) {
      why = "a string of hex digits for \"hex\"";
      return false;
    }
    return FromHex(j["hex"].get_ref<const std::string&>(), bytes, why) &&
           SetBytes(text, static_cast<uint8_t>(e), std::move(bytes), why);
  }
  const Json& value = j[sjis ? "sjis" : "utf16"];
  if (!value.is_string()) {
    why = std::string("a string for \"") + (sjis ? "sjis" : "utf16") + "\"";
    return false;
  }
  bool terminated = false;
  if (!OptionalBool(j, "terminated", terminated, why)) return false;
  const std::string& utf8 = value.get_ref<const std::string&>();
  if (sjis) {
    if (!ShiftJisFromUtf8(utf8, bytes, why)) return false;
    if (terminated) bytes.push_back(0);
  } else {
    if (!Utf16FromUtf8(utf8, bytes, why)) return false;
    if (terminated) bytes.insert(bytes.end(), {0, 0});
  }
  return SetBytes(text, sjis ? 1 : 0, std::move(bytes), why);
}

}  // namespace cva::json
