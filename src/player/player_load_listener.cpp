#include "player/player_load_listener.h"

#include <cstdio>

#include "document/document.h"
#include "player/clear_colour_target.h"
#include "stream/text_conversion.h"
#include "system/services.h"

namespace cva {
namespace {

constexpr const char* kFullWidthSpace = "\u3000";  // 0x81 0x40 in Shift-JIS

}  // namespace

std::string MissingLabelText(const EncodedText& label) {
  std::string text = label.encoding() == EncodedText::kUtf16 ? "Utf16" : "s-jis";
  text += "\n";
  text += ToUtf8(label);
  text += "[" + std::to_string(label.bytes().size()) + "]";
  const std::vector<uint8_t>& bytes = label.bytes();
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i % 16 == 0) text += "\n";
    char hex[4];
    std::snprintf(hex, sizeof hex, "%x", static_cast<unsigned>(bytes[i]));
    text += hex;
    text += kFullWidthSpace;
  }
  text += "\n";
  text += "がアニメーション内に存在しません";
  return text;
}

void PlayerLoadListener::DocumentLoaded(Document& document) {
  const Colour background = document.header().background;
  target_.SetClearColour({background.red, background.green, background.blue, 255});
  if (document.label_names().Find(start_label_) != -1) return;
  SystemServices().ShowMessage(MissingLabelText(start_label_), kMissingLabelCaption,
                               Services::Buttons::kOk);
}

}  // namespace cva
