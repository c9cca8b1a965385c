// The cvarender program itself: what it writes, its help, and how it fails.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "golden_rig.h"
#include "png_file.h"

namespace cva::testing {
namespace {

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class RenderProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("cvarender_program_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  ProgramRun Run(const std::string& args) {
    const std::string command = std::string("'") + CVARENDER_PATH + "' " + args + " >'" +
                                (dir_ / "out.txt").string() + "' 2>'" +
                                (dir_ / "err.txt").string() + "'";
    ProgramRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadAll(dir_ / "out.txt");
    run.err = ReadAll(dir_ / "err.txt");
    return run;
  }
  std::string Fixture(const std::string& name) {
    return "'" + std::string(CVA_FIXTURE_DIR) + "/" + name + "'";
  }

  std::filesystem::path dir_;
};

TEST_F(RenderProgramTest, WritesTheChosenFramesAsPngGifAndSheet) {
  const std::string out = (dir_ / "frames").string();
  const ProgramRun run =
      Run(Fixture("golden_tiling.cva") + " --at 0,250,260 --out '" + out + "' --gif '" +
          (dir_ / "a.gif").string() + "' --sheet '" + (dir_ / "sheet.png").string() + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  // 100 ms frames: 0 ms is frame 0, 250 and 260 ms both fall on frame 3.
  EXPECT_TRUE(std::filesystem::exists(dir_ / "frames" / "at_000000ms.png"));
  EXPECT_TRUE(std::filesystem::exists(dir_ / "frames" / "at_000250ms.png"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_ / "frames"),
                          std::filesystem::directory_iterator()),
            2);
  render_tool::RgbaImage frame, golden;
  std::string error;
  ASSERT_TRUE(render_tool::ReadPng((dir_ / "frames" / "at_000250ms.png").string(), frame, error));
  ASSERT_TRUE(render_tool::ReadPng(std::string(CVA_GOLDEN_DIR) + "/tiling.png", golden, error));
  EXPECT_TRUE(CompareImages(golden, frame, {2, 0}).matches);
  EXPECT_EQ(ReadAll(dir_ / "a.gif").substr(0, 6), "GIF89a");
  EXPECT_TRUE(std::filesystem::exists(dir_ / "sheet.png"));
  EXPECT_NE(run.out.find("2 frames of 320 x 240, 100 ms per frame"), std::string::npos) << run.out;
}

TEST_F(RenderProgramTest, SizeAndStepOptionsChangeTheFrames) {
  const ProgramRun run = Run(Fixture("golden_blend.cva") +
                             " --size 64x48 --fixed 7 --frames 2..2 --out '" + dir_.string() + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  render_tool::RgbaImage frame;
  std::string error;
  ASSERT_TRUE(render_tool::ReadPng((dir_ / "frame_00002.png").string(), frame, error)) << error;
  EXPECT_EQ(frame.width, 64);
  EXPECT_EQ(frame.height, 48);
  EXPECT_NE(run.out.find("7 ms per frame"), std::string::npos);
}

TEST_F(RenderProgramTest, HelpUsageErrorsAndLoadFailures) {
  const ProgramRun help = Run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: cvarender"), std::string::npos);

  const ProgramRun no_output = Run(Fixture("golden_blend.cva"));
  EXPECT_EQ(no_output.status, 2);
  EXPECT_NE(no_output.err.find("nothing to write"), std::string::npos);
  EXPECT_EQ(Run("--frames 1..2 --out x").status, 2);

  const ProgramRun missing =
      Run("'" + (dir_ / "none.cva").string() + "' --out '" + dir_.string() + "'");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("cannot open the document"), std::string::npos) << missing.err;

  std::ofstream(dir_ / "junk.cva", std::ios::binary) << "not a document at all";
  const ProgramRun junk =
      Run("'" + (dir_ / "junk.cva").string() + "' --out '" + dir_.string() + "'");
  EXPECT_EQ(junk.status, 1);
  EXPECT_NE(junk.err.find("not a document"), std::string::npos) << junk.err;

  std::ofstream(dir_ / "bad.txt") << "1 move 10 10\n2 wobble\n";
  const ProgramRun script = Run(Fixture("golden_blend.cva") + " --input '" +
                                (dir_ / "bad.txt").string() + "' --out '" + dir_.string() + "'");
  EXPECT_EQ(script.status, 1);
  EXPECT_NE(script.err.find("line 2"), std::string::npos) << script.err;

  const ProgramRun label =
      Run(Fixture("golden_blend.cva") + " --label nowhere --out '" + dir_.string() + "'");
  EXPECT_EQ(label.status, 1);
  EXPECT_NE(label.err.find("start label 'nowhere' not found"), std::string::npos) << label.err;
}

}  // namespace
}  // namespace cva::testing
