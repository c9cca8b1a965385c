#pragma once

// How single stored values look in a document's JSON form, in both directions. The readers
// return false with a short description of what was expected; the caller adds the field path.

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "stream/record_fields.h"

namespace cva::json {

// Objects keep their keys in file order, so a dump reads like the file it came from.
using Json = nlohmann::ordered_json;

// Lower-case hex digits, two per byte.
std::string ToHex(const std::vector<uint8_t>& bytes);
// Pairs of hex digits; spaces between them are allowed.
bool FromHex(const std::string& hex, std::vector<uint8_t>& bytes, std::string& why);

// true/false for 1/0, the number for any other stored byte.
Json FlagToJson(const Flag& flag);
bool FlagFromJson(const Json& j, Flag& flag, std::string& why);

// An integer within [low, high].
bool IntegerFromJson(const Json& j, int64_t low, int64_t high, int64_t& value, std::string& why);

// The shortest number that reads back as the same float; a non-finite value as a string
// "0x" followed by the eight hex digits of its bit pattern (accepted for any value).
Json FloatToJson(float value);
bool FloatFromJson(const Json& j, float& value, std::string& why);

// A plain string for Shift-JIS text stored without a terminator that converts to UTF-8 and
// back unchanged; otherwise an object:
//   {"sjis": "...", "terminated": true}     Shift-JIS stored with its terminator
//   {"utf16": "...", "terminated": true}    UTF-16 ("terminated" may be left out when false)
//   {"encoding": N, "hex": "..."}           any other stored bytes
//   {"length": N}                           an empty text stored with a negative length
Json TextToJson(const StoredText& text);
bool TextFromJson(const Json& j, StoredText& text, std::string& why);

}  // namespace cva::json
