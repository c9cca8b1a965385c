// The input scripts of the headless tools: every event form, and malformed lines refused with
// the line and the reason.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "input_script.h"

namespace cva::session {
namespace {

TEST(InputScriptTest, ReadsEveryEventFormInOrder) {
  std::vector<InputEvent> events;
  std::string why;
  ASSERT_TRUE(
      ParseInputScript("# pointer\n"
                       "12 move 40 30.5\n"
                       "\n"
                       "12 down left   # same frame, kept in order\n"
                       "15 up right\r\n"
                       "20 key down\n"
                       "21 up key\n"
                       "21 step 16\n"
                       "21 step 0",
                       events, why))
      << why;
  const std::vector<InputEvent> expected = {
      {12, InputEvent::Kind::kMove, 0, 40.0f, 30.5f}, {12, InputEvent::Kind::kDown, 1, 0.0f, 0.0f},
      {15, InputEvent::Kind::kUp, 2, 0.0f, 0.0f},     {20, InputEvent::Kind::kDown, 4, 0.0f, 0.0f},
      {21, InputEvent::Kind::kUp, 4, 0.0f, 0.0f},     {21, InputEvent::Kind::kStep, 0, 0, 0, 16},
      {21, InputEvent::Kind::kStep, 0, 0, 0, 0},
  };
  EXPECT_EQ(events, expected);
  // The last step event of a frame wins; frames without one have none.
  EXPECT_EQ(StepAt(events, 21), 0u);
  EXPECT_FALSE(StepAt(events, 12));
}

TEST(InputScriptTest, RejectsMalformedLinesNamingThem) {
  const std::pair<const char*, const char*> cases[] = {
      {"x move 1 2", "frame number"},
      {"-1 down left", "frame number"},
      {"99999999999 down left", "frame number"},
      {"3", "event"},
      {"3 move 1", "two coordinates"},
      {"3 move 1 nan", "finite"},
      {"3 move 1 1e9", "finite"},
      {"3 down middle", "unknown button"},
      {"3 press left", "unknown event"},
      {"3 down left now", "expected"},
      {"3 step", "whole milliseconds"},
      {"3 step -1", "whole milliseconds"},
      {"3 step 60001", "whole milliseconds"},
      {"3 step 1.5", "whole milliseconds"},
  };
  for (const auto& [script, reason] : cases) {
    std::vector<InputEvent> events;
    std::string why;
    EXPECT_FALSE(ParseInputScript(std::string("1 move 0 0\n") + script, events, why)) << script;
    EXPECT_NE(why.find("line 2:"), std::string::npos) << why;
    EXPECT_NE(why.find(reason), std::string::npos) << script << ": " << why;
  }
}

}  // namespace
}  // namespace cva::session
