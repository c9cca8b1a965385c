#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cva {

// A font file chosen for a face name.
struct FontFile {
  std::string path;
  int32_t index = 0;            // face index inside the file
  bool synthetic_bold = false;  // bold was asked for but the file is not bold: embolden
};

// The installed family that stands in for a face name documents use: the Japanese gothic
// faces, in full-width or ASCII spelling, map to IPAPGothic (proportional: "ＭＳ Ｐゴシック",
// "MS PGothic", "MS UI Gothic") or IPAGothic ("ＭＳ ゴシック", "MS Gothic" and other gothic or
// mincho faces); any other name is returned as it is, for fontconfig to match.
std::string SubstituteFamily(std::string_view utf8_face);

// Asks fontconfig for the installed font that best matches the family (after
// SubstituteFamily) at normal or semi-bold weight. Nothing when no font is installed at all.
std::optional<FontFile> ResolveFontFile(std::string_view utf8_face, bool bold);

}  // namespace cva
