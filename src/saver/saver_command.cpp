#include "saver/saver_command.h"

#include <limits>

namespace cva {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t';
}

std::string_view SkipSpaces(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  return text;
}

// The decimal number at the start of `text` (up to the first character that is no digit), or
// 0 when there is none or it does not fit.
uint64_t ReadHandle(std::string_view text) {
  constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
  uint64_t value = 0;
  bool any = false;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    const auto digit = static_cast<uint64_t>(c - '0');
    if (value > (kMax - digit) / 10) return 0;
    value = value * 10 + digit;
    any = true;
  }
  return any ? value : 0;
}

}  // namespace

SaverCommand ParseSaverCommand(std::string_view arguments) {
  std::string_view rest = SkipSpaces(arguments);
  if (rest.size() < 2 || (rest[0] != '/' && rest[0] != '-')) return {};
  // A switch is one letter: "/settings" is no "/s".
  if (rest.size() > 2 && rest[2] != ':' && !IsSpace(rest[2])) return {};
  SaverCommand command;
  switch (rest[1] | 0x20) {  // lower case
    case 's':
      command.mode = SaverMode::kFullScreen;
      break;
    case 'p':
      command.mode = SaverMode::kPreview;
      break;
    case 'a':
      command.mode = SaverMode::kChangePassword;
      break;
    case 'c':
      command.mode = SaverMode::kConfigure;
      break;
    default:  // unknown: the configuration dialog, without an owner
      return {};
  }
  rest.remove_prefix(2);
  if (!rest.empty() && rest.front() == ':') rest.remove_prefix(1);
  command.window = ReadHandle(SkipSpaces(rest));
  return command;
}

}  // namespace cva
