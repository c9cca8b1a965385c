// The parts of cvarender around the renderer: frame selection, the command line, GIF delays
// and files, contact sheets, PNG reading limits, and archive input.
#include <gif_lib.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "archive/archive_writer.h"
#include "command_line.h"
#include "contact_sheet.h"
#include "frame_plan.h"
#include "gif_file.h"
#include "golden_rig.h"
#include "png_file.h"

namespace cva::testing {
namespace {

using namespace render_tool;

std::filesystem::path TempDir(const std::string& name) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("cvarender_test_" + name + "_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

RgbaImage Solid(int32_t w, int32_t h, uint8_t r, uint8_t g, uint8_t b) {
  RgbaImage image(w, h);
  for (size_t i = 0; i < image.pixels.size(); i += 4) {
    image.pixels[i] = r;
    image.pixels[i + 1] = g;
    image.pixels[i + 2] = b;
    image.pixels[i + 3] = 255;
  }
  return image;
}

TEST(FramePlanTest, RangesAndMomentsBecomeSortedFramesWithFileNames) {
  FrameRequest range{FrameRequest::Kind::kRange, 3, 5, {}};
  const std::vector<PlannedFrame> frames = PlanFrames(range, 40);
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0].frame, 3);
  EXPECT_EQ(frames[2].file_name, "frame_00005.png");

  // 0 -> frame 0; 100 at 40 ms per frame -> frame 3 (the first at or after it); 80 -> frame 2;
  // 90 also falls on frame 3 and names it, being earlier than 100.
  FrameRequest times{FrameRequest::Kind::kTimes, 0, 0, {100, 0, 80, 90}};
  const std::vector<PlannedFrame> moments = PlanFrames(times, 40);
  ASSERT_EQ(moments.size(), 3u);
  EXPECT_EQ(moments[0].frame, 0);
  EXPECT_EQ(moments[1].frame, 2);
  EXPECT_EQ(moments[2].frame, 3);
  EXPECT_EQ(moments[2].file_name, "at_000090ms.png");
}

TEST(CommandLineTest, ReadsEveryOptionAndRefusesBadOnes) {
  CommandLine line;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"doc.cva", "--label", "start", "--size", "64x48", "--fixed", "20",
                                "--at", "0,500", "--gif", "a.gif", "--threads", "3"},
                               line, error))
      << error;
  EXPECT_EQ(line.render.input, "doc.cva");
  EXPECT_EQ(line.render.label, "start");
  EXPECT_EQ(line.render.size, (ImageSize{64, 48}));
  EXPECT_EQ(line.render.step_ms, 20u);
  EXPECT_EQ(line.render.threads, 3);
  EXPECT_EQ(line.frames.kind, FrameRequest::Kind::kTimes);
  EXPECT_EQ(line.frames.times_ms, (std::vector<uint32_t>{0, 500}));

  const std::vector<std::vector<std::string>> bad = {
      {"doc.cva"},                                          // no output
      {"--out", "d"},                                       // no document
      {"doc.cva", "--out", "d", "--frames", "5..2"},        // backwards
      {"doc.cva", "--out", "d", "--frames", "0..1000000"},  // a million and one files
      {"doc.cva", "--out", "d", "--frames", "1..2", "--at", "3"},
      {"doc.cva", "--out", "d", "--at", "1,,2"},
      {"doc.cva", "--out", "d", "--size", "0x10"},
      {"doc.cva", "--out", "d", "--fixed", "0"},
      {"doc.cva", "--out", "d", "--threads", "0"},
      {"doc.cva", "--out"},
      {"doc.cva", "--out", "d", "--bogus"},
  };
  for (const auto& args : bad) {
    CommandLine ignored;
    error.clear();
    EXPECT_FALSE(ParseCommandLine(args, ignored, error)) << args.back();
    EXPECT_FALSE(error.empty());
  }
}

TEST(GifTest, DelaysKeepTheRunningTotalAndFoldFramesTooShortToShow) {
  EXPECT_EQ(GifDelays({40, 40, 40}), (std::vector<uint16_t>{4, 4, 4}));
  // 15 ms frames: 1.5 hundredths each; rounding on the total gives 2, 1, 2, 1... and the
  // frames that would get 1 are folded into the one before, so 60 ms still last 6.
  const std::vector<uint16_t> delays = GifDelays({15, 15, 15, 15});
  EXPECT_EQ(delays, (std::vector<uint16_t>{3, 0, 3, 0}));
  // 10 ms frames: every other frame is dropped, the total stays 50 ms.
  const std::vector<uint16_t> tens = GifDelays({10, 10, 10, 10, 10});
  uint32_t total = 0;
  for (uint16_t d : tens) total += d;
  EXPECT_EQ(total, 5u);
  for (size_t i = 1; i < tens.size(); ++i) EXPECT_NE(tens[i], 1) << i;
}

TEST(GifTest, WrittenFileHasTheFramesDelaysAndColours) {
  const auto dir = TempDir("gif");
  const std::string path = (dir / "a.gif").string();
  std::vector<TimedFrame> frames;
  frames.push_back({Solid(6, 4, 255, 0, 0), 40});
  frames.push_back({Solid(6, 4, 0, 0, 255), 120});
  frames.push_back({frames.back().image, 40});
  frames.back().image.At(4, 2)[1] = 200;  // one pixel changes: only it is written
  std::string error;
  ASSERT_TRUE(WriteGif(path, frames, error)) << error;

  int code = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &code);
  ASSERT_NE(gif, nullptr);
  ASSERT_EQ(DGifSlurp(gif), GIF_OK);
  EXPECT_EQ(gif->SWidth, 6);
  EXPECT_EQ(gif->SHeight, 4);
  ASSERT_EQ(gif->ImageCount, 3);
  const uint8_t expected_red[3] = {255, 0, 0};
  const uint16_t expected_delay[3] = {4, 12, 4};
  for (int i = 0; i < 3; ++i) {
    GraphicsControlBlock control;
    ASSERT_EQ(DGifSavedExtensionToGCB(gif, i, &control), GIF_OK);
    EXPECT_EQ(control.DelayTime, expected_delay[i]);
    const SavedImage& image = gif->SavedImages[i];
    const ColorMapObject* map =
        image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    ASSERT_NE(map, nullptr);
    const GifColorType colour = map->Colors[image.RasterBits[0]];
    EXPECT_EQ(colour.Red, expected_red[i]);
  }
  const GifImageDesc& last = gif->SavedImages[2].ImageDesc;
  EXPECT_EQ(last.Left, 4);
  EXPECT_EQ(last.Top, 2);
  EXPECT_EQ(last.Width, 1);
  EXPECT_EQ(last.Height, 1);
  EXPECT_EQ(gif->SavedImages[2].ImageDesc.ColorMap->Colors[gif->SavedImages[2].RasterBits[0]].Green,
            200);
  DGifCloseFile(gif, &code);
  // The GIF gets the permissions of any new file (the umask's), not the owner's alone.
  std::ofstream((dir / "plain").string()) << "x";
  EXPECT_EQ(std::filesystem::status(path).permissions(),
            std::filesystem::status(dir / "plain").permissions());

  frames.push_back({Solid(5, 4, 0, 0, 0), 40});
  EXPECT_FALSE(WriteGif(path, frames, error));
  EXPECT_NE(error.find("different sizes"), std::string::npos);
  std::filesystem::remove_all(dir);
}

TEST(ContactSheetTest, ThumbnailsFillANearSquareGridInOrder) {
  std::vector<RgbaImage> frames;
  for (int i = 0; i < 5; ++i) frames.push_back(Solid(40, 20, static_cast<uint8_t>(50 * i), 0, 0));
  std::vector<const RgbaImage*> pointers;
  for (const RgbaImage& f : frames) pointers.push_back(&f);
  // Five frames: three columns, two rows; thumbnails shrunk to 20 x 10 with 4-pixel gaps.
  const RgbaImage sheet = ContactSheet(pointers, 20);
  EXPECT_EQ(sheet.width, 4 + 3 * 24);
  EXPECT_EQ(sheet.height, 4 + 2 * 14);
  EXPECT_EQ(sheet.At(4 + 24 * 2 + 5, 4 + 5)[0], 100);       // third frame, first row
  EXPECT_EQ(sheet.At(4 + 24 * 1 + 5, 4 + 14 + 5)[0], 200);  // fifth frame, second row
  EXPECT_EQ(sheet.At(4 + 24 * 2 + 5, 4 + 14 + 5)[0], 40);   // empty cell keeps the ground
  EXPECT_TRUE(ContactSheet({}).empty());
}

TEST(PngTest, RoundTripsAndRefusesDamagedFiles) {
  const auto dir = TempDir("png");
  const std::string path = (dir / "a.png").string();
  RgbaImage image = Solid(3, 2, 1, 2, 3);
  image.At(2, 1)[3] = 77;
  std::string error;
  ASSERT_TRUE(WritePng(path, image, error)) << error;
  RgbaImage back;
  ASSERT_TRUE(ReadPng(path, back, error)) << error;
  EXPECT_EQ(back.width, 3);
  EXPECT_EQ(back.pixels, image.pixels);

  // A cut file and a header claiming a huge picture both fail without a crash.
  std::string bytes;
  {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::ofstream(dir / "cut.png", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
  EXPECT_FALSE(ReadPng((dir / "cut.png").string(), back, error));
  std::string huge = bytes;
  huge[16] = 0x7f;  // width 0x7f000003: past the side limit
  std::ofstream(dir / "huge.png", std::ios::binary) << huge;
  EXPECT_FALSE(ReadPng((dir / "huge.png").string(), back, error));
  EXPECT_FALSE(error.empty());
  std::filesystem::remove_all(dir);
}

// An archive made like the main job makes it renders the same picture as the loose files.
TEST(ArchiveInputTest, ArchiveMemberNamedLikeTheArchiveRendersLikeTheFiles) {
  const auto dir = TempDir("archive");
  const std::string fixtures = CVA_FIXTURE_DIR;
  ArchiveWriter writer;
  const std::string archive = (dir / "golden_swap.lzp").string();
  ASSERT_TRUE(writer.Open(archive));
  for (const char* name : {"golden_swap.cva", "golden_arrow.png", "golden_ring.png"})
    ASSERT_EQ(writer.Add(name, fixtures + "/" + name), ArchiveWriter::AddResult::kAdded);
  ASSERT_TRUE(writer.Finish()) << writer.error();

  RenderOptions options;
  options.input = archive;
  RenderSession session(options);
  ASSERT_TRUE(session.Load()) << session.error();
  session.Step();
  RgbaImage from_files;
  ASSERT_TRUE(RenderFixture("golden_swap", 1, from_files));
  EXPECT_EQ(ToImage(session.frame()).pixels, from_files.pixels);

  // An archive without a document is refused with a reason.
  ArchiveWriter empty;
  const std::string other = (dir / "images.lzp").string();
  ASSERT_TRUE(empty.Open(other));
  ASSERT_EQ(empty.Add("golden_ring.png", fixtures + "/golden_ring.png"),
            ArchiveWriter::AddResult::kAdded);
  ASSERT_TRUE(empty.Finish());
  RenderOptions no_document;
  no_document.input = other;
  RenderSession failing(no_document);
  EXPECT_FALSE(failing.Load());
  EXPECT_NE(failing.error().find("no .cva document"), std::string::npos) << failing.error();
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace cva::testing

namespace cva::testing {
namespace {

// What a viewer shows after each GIF frame: every frame drawn over the ones before it.
std::vector<render_tool::RgbaImage> Composite(GifFileType* gif) {
  std::vector<render_tool::RgbaImage> shown;
  render_tool::RgbaImage screen(gif->SWidth, gif->SHeight);
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    const ColorMapObject* map =
        image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    for (int y = 0; y < image.ImageDesc.Height; ++y)
      for (int x = 0; x < image.ImageDesc.Width; ++x) {
        const GifColorType c = map->Colors[image.RasterBits[y * image.ImageDesc.Width + x]];
        uint8_t* p = screen.At(image.ImageDesc.Left + x, image.ImageDesc.Top + y);
        p[0] = c.Red;
        p[1] = c.Green;
        p[2] = c.Blue;
        p[3] = 255;
      }
    shown.push_back(screen);
  }
  return shown;
}

TEST(GifTest, FramesOfChangedAreasShowEveryRenderedFrame) {
  render_tool::RenderOptions options;
  options.input = std::string(CVA_FIXTURE_DIR) + "/golden_reveal.cva";
  render_tool::RenderSession session(options);
  ASSERT_TRUE(session.Load()) << session.error();
  std::vector<render_tool::TimedFrame> frames;
  for (int f = 1; f <= 8; ++f) {
    session.Step();
    frames.push_back({ToImage(session.frame()), 100});
  }
  const auto dir = TempDir("composite");
  const std::string path = (dir / "reveal.gif").string();
  std::string error;
  ASSERT_TRUE(render_tool::WriteGif(path, frames, error)) << error;
  int code = 0;
  GifFileType* gif = DGifOpenFileName(path.c_str(), &code);
  ASSERT_NE(gif, nullptr);
  ASSERT_EQ(DGifSlurp(gif), GIF_OK);
  const std::vector<render_tool::RgbaImage> shown = Composite(gif);
  DGifCloseFile(gif, &code);
  ASSERT_EQ(shown.size(), frames.size());
  for (size_t i = 0; i < frames.size(); ++i) {
    const CompareResult result = CompareImages(frames[i].image, shown[i], {0, 0});
    EXPECT_TRUE(result.matches) << "frame " << i << ": " << result.Describe();
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace cva::testing
