// The parts of cvatrace around the engine: image sizes, the JSON form, load failures and the
// program itself.
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "png_size.h"
#include "trace_json.h"
#include "trace_rig.h"

namespace cva::testing {
namespace {

TEST(PngSizeTest, ReadsTheHeaderAndRefusesAnythingElse) {
  EXPECT_EQ(trace::PngSize(FixtureBytes("red.png")), (ImageSize{2, 2}));
  std::vector<uint8_t> png = FixtureBytes("red.png");
  EXPECT_FALSE(trace::PngSize(std::vector<uint8_t>(png.begin(), png.begin() + 23)));
  std::vector<uint8_t> bad = png;
  bad[1] = 'J';
  EXPECT_FALSE(trace::PngSize(bad));
  std::vector<uint8_t> huge = png;
  huge[16] = 0x80;  // width 2^31 + ...
  EXPECT_FALSE(trace::PngSize(huge));
  std::vector<uint8_t> empty = png;
  for (int i = 20; i < 24; ++i) empty[i] = 0;
  EXPECT_FALSE(trace::PngSize(empty));
}

using TraceLoadTest = TraceTest;

TEST_F(TraceLoadTest, TheDocumentsDirectoryBecomesCurrentAndImagesGetTheirSize) {
  trace::TraceSession session(Options("/fixtures/trace_timeline.cva", 1));
  ASSERT_TRUE(session.Load()) << session.error();
  EXPECT_EQ(services.directory, "/fixtures");
  EXPECT_EQ(session.provider().ImageSizeOf("red.png"), (ImageSize{2, 2}));
  // The clear colour is the document's opaque background.
  EXPECT_EQ(session.clear_colour(), (Colour{0, 0, 0, 255}));
}

TEST_F(TraceLoadTest, AMissingDocumentFailsWithThePlayersMessage) {
  trace::TraceSession session(Options("absent.cva", 1));
  EXPECT_FALSE(session.Load());
  EXPECT_NE(session.error().find("absent.cvaが読み込めません。"), std::string::npos)
      << session.error();
  // The message box was captured, not shown.
  EXPECT_TRUE(services.messages.empty());
}

TEST_F(TraceLoadTest, AMalformedDocumentFailsWithItsOffset) {
  std::vector<uint8_t> cut = services.files["minimal.cva"];
  cut.resize(30);
  services.files["cut.cva"] = cut;
  trace::TraceSession session(Options("cut.cva", 1));
  EXPECT_FALSE(session.Load());
  EXPECT_NE(session.error().find("malformed document"), std::string::npos) << session.error();
  EXPECT_NE(session.error().find("at byte 30"), std::string::npos) << session.error();
}

TEST_F(TraceLoadTest, AnUnknownStartLabelFailsWithThePlayersDiagnostic) {
  trace::TraceOptions options = Options("minimal.cva", 1);
  options.label = "nope";
  trace::TraceSession session(options);
  EXPECT_FALSE(session.Load());
  EXPECT_NE(session.error().find("アニメーションリクエスト失敗"), std::string::npos);
  EXPECT_NE(session.error().find("6e　6f　70　65　0　"), std::string::npos) << session.error();

  // Told not to insist, the trace plays on and shows the message in frame 0.
  options.require_start_label = false;
  const auto frames = Trace(options);
  ASSERT_EQ(frames.size(), 1u);
  ASSERT_EQ(frames[0].messages.size(), 1u);
  EXPECT_EQ(frames[0].messages[0].caption, "アニメーションリクエスト失敗");
}

TEST_F(TraceLoadTest, FrameJsonHoldsEveryPartOfTheFrame) {
  const auto frames = Trace(Options("trace_timeline.cva", 2));
  const nlohmann::ordered_json j = trace::FrameToJson(frames[1]);
  EXPECT_EQ(j["frame"], 1);
  EXPECT_EQ(j["step"], 100);
  EXPECT_EQ(j["label"], 1000);
  EXPECT_EQ(j["label_name"], "default");
  EXPECT_EQ(j["jumps"][0]["name"], "default");
  EXPECT_EQ(j["nodes"][1]["name"], "looper");
  EXPECT_EQ(j["nodes"][1]["colour"], nlohmann::json::parse("[200, 100, 50, 255]"));
  EXPECT_EQ(j["nodes"][2]["world"], nlohmann::json::parse("[1, 0, 0, 1, 50, 60]"));
  EXPECT_EQ(j["nodes"][2]["outline"][2], nlohmann::json::parse("[82, 76]"));
  EXPECT_EQ(j["draw_list"], nlohmann::json::parse("[0, 1, 2]"));
  const nlohmann::ordered_json& draws = j["draws"];
  ASSERT_GE(draws.size(), 4u);
  EXPECT_EQ(draws[0]["kind"], "apply");
  EXPECT_EQ(draws[0]["states"][0], nlohmann::json::parse(R"(["alpha_test_enable", 0])"));
  // Floats print as the shortest decimal of the float.
  EXPECT_EQ(draws[2]["texture"].dump(), "[1,0,0,1,0.5,0.25]");
  EXPECT_EQ(draws.back()["kind"], "end_mask");
  EXPECT_TRUE(j["variables"]["document"].is_object());
  EXPECT_FALSE(j.contains("debug"));
}

// The program itself: options, exit codes and one JSON object per line.
struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

ToolRun RunTrace(const std::string& args) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path();
  const std::string tag = std::to_string(::testing::UnitTest::GetInstance()->random_seed());
  const std::string out = (dir / ("cvatrace_out_" + tag)).string();
  const std::string err = (dir / ("cvatrace_err_" + tag)).string();
  const std::string command =
      std::string("'") + CVATRACE_PATH + "' " + args + " >'" + out + "' 2>'" + err + "'";
  ToolRun run;
  const int raw = std::system(command.c_str());
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  auto read = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  run.out = read(out);
  run.err = read(err);
  std::filesystem::remove(out);
  std::filesystem::remove(err);
  return run;
}

TEST(TraceProgramTest, PrintsOneJsonObjectPerFrame) {
  const std::string doc = std::string("'") + CVA_FIXTURE_DIR + "/trace_timeline.cva'";
  const ToolRun run = RunTrace(doc + " --frames 3 --fixed 100");
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    const auto j = nlohmann::json::parse(line);
    EXPECT_EQ(j["frame"], count);
    ++count;
  }
  EXPECT_EQ(count, 3);
}

TEST(TraceProgramTest, DetailOptionsAndStepEventsReachTheFrames) {
  const std::filesystem::path script =
      std::filesystem::temp_directory_path() / "cvatrace_steps.txt";
  std::ofstream(script) << "1 step 30\n";
  const std::string doc = std::string("'") + CVA_FIXTURE_DIR + "/trace_properties.cva'";
  const ToolRun run =
      RunTrace(doc + " --frames 2 --properties --text --input '" + script.string() + "'");
  std::filesystem::remove(script);
  ASSERT_EQ(run.status, 0) << run.err;
  const auto j = nlohmann::json::parse(run.out.substr(run.out.find('\n') + 1));
  EXPECT_EQ(j["step"], 30);
  EXPECT_EQ(j["nodes"][1]["shown_object"], 2);
  EXPECT_TRUE(j["nodes"][2].contains("text"));
}

TEST(TraceProgramTest, HelpUsageErrorsAndFailures) {
  ToolRun help = RunTrace("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: cvatrace"), std::string::npos);
  EXPECT_EQ(RunTrace("").status, 2);
  EXPECT_EQ(RunTrace("a.cva --frames -1").status, 2);
  EXPECT_EQ(RunTrace("a.cva --fixed 0").status, 2);
  EXPECT_EQ(RunTrace("a.cva --dt 5 --fixed 5").status, 2);
  EXPECT_EQ(RunTrace("a.cva --bogus").status, 2);

  const ToolRun missing = RunTrace("/nonexistent/dir/a.cva");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("cvatrace: /nonexistent/dir/a.cva:"), std::string::npos)
      << missing.err;

  const std::string doc = std::string("'") + CVA_FIXTURE_DIR + "/minimal.cva'";
  const ToolRun label = RunTrace(doc + " --label nope");
  EXPECT_EQ(label.status, 1);
  EXPECT_NE(label.err.find("がアニメーション内に存在しません"), std::string::npos) << label.err;
  EXPECT_TRUE(label.out.empty());

  const ToolRun script = RunTrace(doc + " --input /nonexistent/script.txt");
  EXPECT_EQ(script.status, 1);
  EXPECT_NE(script.err.find("cannot read input script"), std::string::npos) << script.err;
}

}  // namespace
}  // namespace cva::testing
