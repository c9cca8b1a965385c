#include "render/freetype/font_resolver.h"

#include <fontconfig/fontconfig.h>

#include <memory>

#include "system/text_codec.h"

namespace cva {
namespace {

// The face name folded for comparison: full-width ASCII to ASCII, ASCII letters to lower
// case, spaces (both widths) dropped.
std::u16string Folded(std::string_view utf8_face) {
  std::u16string folded;
  for (char16_t c : Utf8ToUtf16(utf8_face)) {
    if (c >= 0xFF01 && c <= 0xFF5E) c = static_cast<char16_t>(c - 0xFF01 + 0x21);
    if (c == u' ' || c == 0x3000) continue;
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    folded.push_back(c);
  }
  return folded;
}

bool Contains(const std::u16string& text, std::u16string_view part) {
  return text.find(part) != std::u16string::npos;
}

// The process's fontconfig configuration, loaded on first use.
FcConfig* Config() {
  struct Holder {
    FcConfig* config = FcInitLoadConfigAndFonts();
    ~Holder() {
      if (config) FcConfigDestroy(config);
    }
  };
  static Holder holder;
  return holder.config;
}

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

}  // namespace

std::string SubstituteFamily(std::string_view utf8_face) {
  const std::u16string f = Folded(utf8_face);
  if (Contains(f, u"pゴシック") || Contains(f, u"pgothic") || Contains(f, u"uigothic"))
    return "IPAPGothic";
  if (Contains(f, u"ゴシック") || Contains(f, u"gothic") || Contains(f, u"明朝") ||
      Contains(f, u"mincho"))
    return "IPAGothic";
  return std::string(utf8_face);
}

std::optional<FontFile> ResolveFontFile(std::string_view utf8_face, bool bold) {
  FcConfig* config = Config();
  if (!config) return std::nullopt;
  Pattern pattern(FcPatternCreate());
  if (!pattern) return std::nullopt;
  const std::string family = SubstituteFamily(utf8_face);
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_DEMIBOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  Pattern match(FcFontMatch(config, pattern.get(), &result));
  if (!match) return std::nullopt;
  FcChar8* file = nullptr;
  if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file)
    return std::nullopt;
  FontFile chosen;
  chosen.path = reinterpret_cast<const char*>(file);
  int index = 0;
  if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) == FcResultMatch) chosen.index = index;
  int weight = FC_WEIGHT_REGULAR;
  FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight);
  chosen.synthetic_bold = bold && weight < FC_WEIGHT_DEMIBOLD;
  return chosen;
}

}  // namespace cva
