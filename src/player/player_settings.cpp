#include "player/player_settings.h"

namespace cva {

PlayerSettings& Settings() {
  static PlayerSettings settings;
  return settings;
}

bool ReadSettings(PlayerSettings& settings, StreamReader& reader, const AskFullScreen& ask) {
  // Each field is assigned only when its bytes were all present.
  auto take = [&reader](auto value, auto& field) {
    if (reader.failed()) return false;
    field = value;
    return true;
  };

  // An absent or empty record, or one whose present flag is clear, keeps every default.
  if (!reader.ReadBool()) return true;
  const uint8_t mode = reader.ReadByte();
  if (reader.failed()) return false;
  if (mode == static_cast<uint8_t>(ScreenMode::kWindow)) {
    settings.windowed = true;
  } else if (mode == static_cast<uint8_t>(ScreenMode::kFullScreen)) {
    settings.windowed = false;
  } else {
    settings.windowed = !(ask && ask());
  }
  if (!take(reader.ReadBool(), settings.data_inside)) return false;
  if (!take(reader.ReadBool(), settings.fixed_step)) return false;
  if (!take(reader.ReadInt(), settings.width)) return false;
  if (!take(reader.ReadInt(), settings.height)) return false;
  if (!take(reader.ReadText(), settings.document_name)) return false;
  if (!take(reader.ReadText(), settings.start_label)) return false;
  return take(reader.ReadInt(), settings.step);
}

namespace {

void PutInt(std::vector<uint8_t>& out, int32_t v) {
  const auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(u >> (8 * i)));
}

// 16-bit byte count including the terminator, the tag, then the bytes with the terminator.
// A text longer than a 16-bit count can hold is cut to fit, keeping its terminator.
void PutText(std::vector<uint8_t>& out, const EncodedText& text) {
  const std::vector<uint8_t>& bytes = text.bytes();
  size_t n = bytes.size();
  if (n > 0x7FFF) n = 0x7FFF;
  out.push_back(static_cast<uint8_t>(n & 0xFF));
  out.push_back(static_cast<uint8_t>(n >> 8));
  if (n == 0) return;
  out.push_back(static_cast<uint8_t>(text.encoding()));
  out.insert(out.end(), bytes.begin(), bytes.begin() + n);
  if (n < bytes.size()) {
    const size_t zeros = text.encoding() == EncodedText::kUtf16 ? 2 : 1;
    for (size_t i = 0; i < zeros; ++i) out[out.size() - 1 - i] = 0;
  }
}

}  // namespace

std::vector<uint8_t> WriteSettingsRecord(const PlayerSettings& settings, ScreenMode mode) {
  std::vector<uint8_t> out;
  out.push_back(1);
  out.push_back(static_cast<uint8_t>(mode));
  out.push_back(settings.data_inside ? 1 : 0);
  out.push_back(settings.fixed_step ? 1 : 0);
  PutInt(out, settings.width);
  PutInt(out, settings.height);
  PutText(out, settings.document_name);
  PutText(out, settings.start_label);
  PutInt(out, settings.step);
  return out;
}

}  // namespace cva
