// cvac and cvadump as programs, and dumps of damaged documents.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "document_json.h"
#include "fixture_files.h"
#include "json_values.h"
#include "player/player_settings.h"
#include "support/temp_dir.h"

namespace cva {
namespace {

using testing::TempDir;

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs `program` with `args` (already quoted), capturing both output streams.
ToolRun RunTool(const std::string& program, const std::string& args, const TempDir& dir) {
  const std::string out = dir.File("stdout"), err = dir.File("stderr");
  const std::string command = "'" + program + "' " + args + " >'" + out + "' 2>'" + err + "'";
  ToolRun run;
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = testing::ReadText(out);
  run.err = testing::ReadText(err);
  return run;
}

TEST(CommandLineTest, DumpThenCompileGivesTheSameFile) {
  TempDir dir;
  const std::string json = dir.File("objects.json"), cva = dir.File("objects.cva");
  ToolRun dump =
      RunTool(CVADUMP_PATH, "'" + testing::CompiledPath("objects") + "' -o '" + json + "'", dir);
  ASSERT_EQ(dump.status, 0) << dump.err;
  ToolRun compile = RunTool(CVAC_PATH, "'" + json + "' -o '" + cva + "'", dir);
  ASSERT_EQ(compile.status, 0) << compile.err;
  EXPECT_EQ(testing::ReadBytes(cva), testing::Compiled("objects"));

  // Without -o the JSON goes to standard output.
  ToolRun to_stdout = RunTool(CVADUMP_PATH, "'" + testing::CompiledPath("objects") + "'", dir);
  EXPECT_EQ(to_stdout.status, 0);
  EXPECT_EQ(to_stdout.out, testing::ReadText(json));
}

TEST(CommandLineTest, HelpAndUsageErrors) {
  TempDir dir;
  for (const char* tool : {CVAC_PATH, CVADUMP_PATH}) {
    ToolRun help = RunTool(tool, "--help", dir);
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage:"), std::string::npos);
    ToolRun none = RunTool(tool, "", dir);
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("no input file"), std::string::npos);
    ToolRun unknown = RunTool(tool, "--frobnicate", dir);
    EXPECT_EQ(unknown.status, 2);
    ToolRun missing = RunTool(tool, "'" + dir.File("absent") + "' -o '" + dir.File("x") + "'", dir);
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos) << missing.err;
  }
  ToolRun no_output = RunTool(CVAC_PATH, "in.json", dir);
  EXPECT_EQ(no_output.status, 2);
}

TEST(CommandLineTest, CompileErrorNamesTheFileAndPathAndWritesNothing) {
  TempDir dir;
  const std::string json = dir.File("bad.json"), cva = dir.File("bad.cva");
  const std::string text = R"({"magic": "cva"})";
  testing::WriteBytes(json, std::vector<uint8_t>(text.begin(), text.end()));
  ToolRun run = RunTool(CVAC_PATH, "'" + json + "' -o '" + cva + "'", dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "cvac: " + json + ": magic: expected an integer from -2147483648 to 2147483647\n");
  EXPECT_FALSE(std::filesystem::exists(cva));
  EXPECT_FALSE(std::filesystem::exists(cva + ".tmp"));
}

TEST(CommandLineTest, TruncatedDocumentFailsWithItsOffsetAndField) {
  TempDir dir;
  std::vector<uint8_t> bytes = testing::Compiled("minimal");
  bytes.resize(29);  // the header's frame duration (bytes 26 to 29) is cut short
  const std::string path = dir.File("cut.cva");
  testing::WriteBytes(path, bytes);
  ToolRun run = RunTool(CVADUMP_PATH, "'" + path + "'", dir);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.out.empty());
  EXPECT_EQ(run.err, "cvadump: " + path +
                         ": malformed at byte offset 26: unexpected end of data reading "
                         "'frame_duration' in header\n");
}

TEST(CommandLineTest, SettingsRecordsPrintEverySettingAndTheDefaultsKept) {
  TempDir dir;
  auto dump = [&](const std::vector<uint8_t>& record) {
    testing::WriteBytes(dir.File("201.bin"), record);
    return RunTool(CVADUMP_PATH, "--settings '" + dir.File("201.bin") + "'", dir);
  };
  // The template's placeholder: not present, every default kept, three bytes never read.
  ToolRun placeholder = dump({0, 0, 0, 0});
  ASSERT_EQ(placeholder.status, 0) << placeholder.err;
  json::Json j = json::Json::parse(placeholder.out);
  EXPECT_EQ(j["present"], false);
  EXPECT_TRUE(j["screen_mode"].is_null());
  EXPECT_EQ(j["asks_full_screen"], false);
  EXPECT_EQ(j["windowed"], true);
  EXPECT_EQ(j["width"], 640);
  EXPECT_EQ(j["document_name"],
            json::Json::parse(R"({"text": "base.cva", "encoding": "shift-jis"})"));
  EXPECT_EQ(j["pacing"], "fixed");
  EXPECT_EQ(j["defaults"].size(), 8u);
  EXPECT_EQ(j["trailing_bytes"], 3);

  // A full record as the converter writes it, asking at start, with a UTF-16 label.
  PlayerSettings settings;
  settings.width = 800;
  settings.fixed_step = false;
  settings.step = 17;
  settings.start_label = EncodedText::FromUtf16(u"開始");
  std::vector<uint8_t> record = WriteSettingsRecord(settings, ScreenMode::kAsk);
  ToolRun full = dump(record);
  ASSERT_EQ(full.status, 0) << full.err;
  j = json::Json::parse(full.out);
  EXPECT_EQ(j["screen_mode"], 2);
  EXPECT_EQ(j["asks_full_screen"], true);
  EXPECT_EQ(j["width"], 800);
  EXPECT_EQ(j["start_label"], json::Json::parse(R"({"text": "開始", "encoding": "utf-16"})"));
  EXPECT_EQ(j["pacing"], "real-time");
  EXPECT_TRUE(j["defaults"].empty());
  EXPECT_EQ(j["trailing_bytes"], 0);

  // Cut inside the height (bytes 8 to 11): the file and the field's offset, exit status 1.
  record.resize(10);
  ToolRun cut = dump(record);
  EXPECT_EQ(cut.status, 1);
  EXPECT_TRUE(cut.out.empty());
  EXPECT_EQ(cut.err, "cvadump: " + dir.File("201.bin") +
                         ": malformed settings record at byte offset 8: the record ends inside "
                         "'height'\n");
}

TEST(CommandLineTest, EveryTruncationOfEveryFixtureFailsWithinItsData) {
  for (const std::string& name : testing::FixtureNames()) {
    const std::vector<uint8_t> bytes = testing::Compiled(name);
    const json::DumpResult whole = json::DumpDocument(bytes);
    ASSERT_TRUE(whole.ok) << name;
    // Trailing bytes may be cut anywhere: what is left of them is still a document. A
    // foreign document keeps everything after its version as trailing bytes.
    const json::Json dumped = json::Json::parse(whole.json);
    const size_t trailing =
        dumped.contains("trailing") ? dumped["trailing"].get<std::string>().size() / 2 : 0;
    const size_t checked = bytes.size() - trailing;
    ASSERT_GE(checked, 4u);
    for (size_t n = 0; n < checked; ++n) {
      const json::DumpResult cut = json::DumpDocument({bytes.data(), n});
      ASSERT_FALSE(cut.ok) << name << " cut to " << n;
      EXPECT_LE(cut.offset, n) << name << " cut to " << n;
      EXPECT_NE(cut.error.find("unexpected end of data"), std::string::npos) << cut.error;
    }
  }
}

}  // namespace
}  // namespace cva
