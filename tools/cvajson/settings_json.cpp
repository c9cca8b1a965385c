#include "settings_json.h"

#include <vector>

#include "player/player_settings.h"
#include "stream/memory_reader.h"
#include "stream/text_conversion.h"

namespace cva::json {
namespace {

// The record's fields in the order the player reads them.
constexpr const char* kFields[] = {"present", "screen_mode",   "data_inside", "fixed_step", "width",
                                   "height",  "document_name", "start_label", "step"};
constexpr size_t kFieldCount = std::size(kFields);

// Reads through a MemoryReader and notes where each read of the settings reader began, so
// that the field a record ends in can be named.
class FieldReader final : public StreamReader {
 public:
  explicit FieldReader(std::span<const uint8_t> bytes) : inner_(bytes) {}

  bool ReadBool() override { return Take(inner_.ReadBool()); }
  uint8_t ReadByte() override { return Take(inner_.ReadByte()); }
  int16_t ReadShort() override { return Take(inner_.ReadShort()); }
  int32_t ReadInt() override { return Take(inner_.ReadInt()); }
  float ReadFloat() override { return Take(inner_.ReadFloat()); }
  EncodedText ReadText() override { return Take(inner_.ReadText()); }
  uint32_t position() const override { return inner_.position(); }
  uint32_t remaining() const override { return inner_.remaining(); }

  // Where each read began, in order.
  const std::vector<uint32_t>& starts() const { return starts_; }

 private:
  template <class T>
  T Take(T value) {
    starts_.push_back(last_end_);
    last_end_ = inner_.position();
    if (inner_.failed()) MarkFailed();
    return value;
  }

  MemoryReader inner_;
  std::vector<uint32_t> starts_;
  uint32_t last_end_ = 0;
};

Json TextJson(const EncodedText& text) {
  Json j = Json::object();
  j["text"] = ToUtf8(text);
  switch (text.encoding()) {
    case EncodedText::kShiftJis:
      j["encoding"] = "shift-jis";
      break;
    case EncodedText::kUtf16:
      j["encoding"] = "utf-16";
      break;
    default:
      j["encoding"] = text.encoding();
      break;
  }
  return j;
}

}  // namespace

SettingsDump DumpSettings(std::span<const uint8_t> bytes) {
  SettingsDump dump;
  if (bytes.size() > 0x7FFFFFFF) {
    dump.error = "the record is larger than 2 GiB";
    return dump;
  }
  PlayerSettings settings;
  FieldReader reader(bytes);
  bool asked = false;
  ReadSettings(settings, reader, [&asked] {
    asked = true;
    return false;  // the answer "no": play in a window
  });
  const std::vector<uint32_t>& starts = reader.starts();
  // The player reads on after the present flag only when it is set. An empty record reads as
  // absent, like the placeholder; one cut inside a later field keeps that field's default.
  const bool present = starts.size() > 1;
  const bool cut = reader.failed() && present;
  size_t whole = reader.failed() ? starts.size() - 1 : starts.size();
  if (cut) {
    dump.offset = starts.back();
    dump.error = "the record ends inside '" + std::string(kFields[whole]) + "'";
  }
  Json& j = dump.json;
  j = Json::object();
  j["bytes"] = bytes.size();
  j["present"] = present;
  j["screen_mode"] = whole > 1 ? Json(bytes[1]) : Json(nullptr);
  j["asks_full_screen"] = asked;
  j["windowed"] = settings.windowed;
  j["data_inside"] = settings.data_inside;
  j["fixed_step"] = settings.fixed_step;
  j["width"] = settings.width;
  j["height"] = settings.height;
  j["document_name"] = TextJson(settings.document_name);
  j["start_label"] = TextJson(settings.start_label);
  j["step"] = settings.step;
  j["pacing"] = settings.fixed_step && settings.step > 0 ? "fixed" : "real-time";
  // The screen mode sets "windowed"; every later field sets the setting of its name.
  Json defaults = Json::array();
  for (size_t field = 1; field < kFieldCount; ++field)
    if (field >= whole) defaults.push_back(field == 1 ? "windowed" : kFields[field]);
  j["defaults"] = std::move(defaults);
  j["trailing_bytes"] = reader.remaining();
  dump.ok = !cut;
  return dump;
}

}  // namespace cva::json
