// Character codes of text runs: never decoded past the end of the bytes.

#include <gtest/gtest.h>

#include "scene/text/character_codes.h"

namespace cva::testing {
namespace {

using Codes = std::vector<uint16_t>;

TEST(CharacterCodes, Utf16TakesTwoBytesPerCodeUpToTheTerminator) {
  EXPECT_EQ(CharacterCodes(EncodedText::FromUtf16(u"a\nb")), (Codes{'a', 10, 'b'}));
  EXPECT_EQ(CharacterCodes(EncodedText(0, std::vector<uint8_t>{0x42, 0x30, 0, 0, 'x', 0})),
            (Codes{0x3042}));
}

TEST(CharacterCodes, OddLengthUtf16StopsBeforeTheDanglingByte) {
  // Stored bytes 'a' 0 'b' gain a two-byte terminator: 5 bytes, so the last unit is short.
  const EncodedText odd(0, std::vector<uint8_t>{'a', 0, 'b'});
  ASSERT_EQ(odd.bytes().size(), 5u);
  EXPECT_EQ(CharacterCodes(odd), (Codes{'a', 'b'}));
  // A single stored byte: 'z' 0 0 gives one code and a dangling zero.
  EXPECT_EQ(CharacterCodes(EncodedText(0, std::vector<uint8_t>{'z'})), (Codes{'z'}));
}

TEST(CharacterCodes, ShiftJisCombinesLeadAndTrailBytes) {
  // 0x82 0xA0 is a lead/trail pair; 0xE0 is a lead byte too; 0xA0 alone is a single byte.
  const EncodedText text(1, std::vector<uint8_t>{'A', 0x82, 0xA0, 0xA0, 0xE0, 0x40});
  EXPECT_EQ(CharacterCodes(text), (Codes{'A', 0xA082, 0xA0, 0x40E0}));
  // A lead byte before the terminator takes the terminator as its trail byte.
  EXPECT_EQ(CharacterCodes(EncodedText(1, std::vector<uint8_t>{'A', 0x9F})), (Codes{'A', 0x9F}));
}

TEST(CharacterCodes, OtherEncodingsAndEmptyTextsGiveNothing) {
  EXPECT_TRUE(CharacterCodes(EncodedText(2, std::vector<uint8_t>{'a', 'b'})).empty());
  EXPECT_TRUE(CharacterCodes(EncodedText()).empty());
}

}  // namespace
}  // namespace cva::testing
