#include <gtest/gtest.h>

#include "saver/saver_command.h"

namespace cva {
namespace {

SaverCommand Command(SaverMode mode, uint64_t window = 0) {
  return SaverCommand{mode, window};
}

TEST(SaverCommand, ModesAsTheSystemWritesThem) {
  EXPECT_EQ(ParseSaverCommand("/s"), Command(SaverMode::kFullScreen));
  EXPECT_EQ(ParseSaverCommand("/S"), Command(SaverMode::kFullScreen));
  EXPECT_EQ(ParseSaverCommand("  -s  "), Command(SaverMode::kFullScreen));
  EXPECT_EQ(ParseSaverCommand("/p 65868"), Command(SaverMode::kPreview, 65868));
  EXPECT_EQ(ParseSaverCommand("/P:1234"), Command(SaverMode::kPreview, 1234));
  EXPECT_EQ(ParseSaverCommand("/c:7340042"), Command(SaverMode::kConfigure, 7340042));
  EXPECT_EQ(ParseSaverCommand("/c"), Command(SaverMode::kConfigure));
  EXPECT_EQ(ParseSaverCommand("/a 88"), Command(SaverMode::kChangePassword, 88));
  // A 64-bit handle value survives whole.
  EXPECT_EQ(ParseSaverCommand("/p 18446744073709551615"),
            Command(SaverMode::kPreview, 18446744073709551615u));
}

TEST(SaverCommand, AnythingElseIsTheDialogOrNoHandle) {
  for (const char* arguments : {"", "   ", "/", "s", "/x", "/settings", "/sp", "C:\\x.scr"})
    EXPECT_EQ(ParseSaverCommand(arguments), Command(SaverMode::kConfigure)) << arguments;
  // A handle that is missing, not a number or too long for 64 bits is no handle; the digits
  // before other characters are.
  EXPECT_EQ(ParseSaverCommand("/p"), Command(SaverMode::kPreview));
  EXPECT_EQ(ParseSaverCommand("/p abc"), Command(SaverMode::kPreview));
  EXPECT_EQ(ParseSaverCommand("/p -5"), Command(SaverMode::kPreview));
  EXPECT_EQ(ParseSaverCommand("/p 18446744073709551616"), Command(SaverMode::kPreview));
  EXPECT_EQ(ParseSaverCommand("/p 99999999999999999999999"), Command(SaverMode::kPreview));
  EXPECT_EQ(ParseSaverCommand("/c:12x"), Command(SaverMode::kConfigure, 12));
}

}  // namespace
}  // namespace cva
