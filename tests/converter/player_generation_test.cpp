#include "converter/player_generation.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifdef CVAPACK_PATH  // the Linux build, which has cvapack
#include <sys/wait.h>

#include <nlohmann/json.hpp>
#endif

#include "archive/lzp_archive.h"
#include "converter/icon_file.h"
#include "converter/pe/pe_image.h"
#include "converter/pe/pe_resource_store.h"
#include "converter/small_program.h"
#include "stream/memory_reader.h"
#include "support/temp_dir.h"

namespace cva {
namespace {

using pe::ResourceName;
using pe::ResourceTree;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// An icon file with the given (side, bytes) images, each a bitmap header of that side.
std::vector<uint8_t> IconFile(const std::vector<std::pair<uint8_t, size_t>>& images) {
  std::vector<uint8_t> out = {0, 0, 1, 0, static_cast<uint8_t>(images.size()), 0};
  size_t offset = 6 + 16 * images.size();
  std::vector<uint8_t> data;
  for (const auto& [side, size] : images) {
    const uint8_t entry[16] = {side,
                               side,
                               0,
                               0,
                               1,
                               0,
                               32,
                               0,
                               static_cast<uint8_t>(size),
                               static_cast<uint8_t>(size >> 8),
                               0,
                               0,
                               static_cast<uint8_t>(offset),
                               static_cast<uint8_t>(offset >> 8),
                               0,
                               0};
    out.insert(out.end(), entry, entry + 16);
    std::vector<uint8_t> image(size, side);
    pe::Put32(image, 0, 40);
    pe::Put32(image, 4, side);
    pe::Put32(image, 8, side * 2u);
    data.insert(data.end(), image.begin(), image.end());
    offset += size;
  }
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

class PlayerGenerationTest : public ::testing::Test {
 protected:
  PlayerGenerationTest() {
    WriteBytes(dir.File("cvaplay.exe"), testing::SmallProgram(testing::TemplateResources()));
    WriteBytes(dir.File("a.cva"), {'c', 'v', 'a', 0, 1, 2});
    WriteBytes(dir.File("pic.png"), std::vector<uint8_t>(70000, 'p'));
    pack_list.Add("a.cva");
    pack_list.Add("pic.png");
    request.template_path = dir.File("cvaplay.exe");
    request.output_path = dir.File("out.exe");
    request.document_path = dir.File("a.cva");
    request.start_label = EncodedText::FromNarrow("go");
    request.title = u"Tést";
    request.screen_mode = ScreenMode::kAsk;
    request.settings.width = 320;
    request.settings.height = 200;
    request.settings.fixed_step = false;
    request.settings.step = 17;
  }

  GenerationResult Generate() {
    return GeneratePlayer(request, pack_list, pe::PeResourceStore::Open,
                          [&](const std::string& line) { printed += line; });
  }

  ResourceTree Output() {
    pe::PeImage image;
    ResourceTree tree;
    EXPECT_TRUE(image.Parse(ReadBytes(request.output_path))) << image.error();
    EXPECT_TRUE(image.ReadResources(tree)) << image.error();
    return tree;
  }

  std::vector<std::string> Files() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir;
  PackList pack_list;
  GenerationRequest request;
  std::string printed;
};

TEST_F(PlayerGenerationTest, ThePlayerHoldsRecordArchiveTitleAndIconBesideThePlaceholders) {
  WriteBytes(dir.File("two.ico"), IconFile({{16, 300}, {32, 1200}}));
  request.icon_path = dir.File("two.ico");
  const GenerationResult result = Generate();
  ASSERT_TRUE(result.ok()) << result.Describe();
  ResourceTree tree = Output();
  auto& rcdata = tree[ResourceName::Id(pe::kRtRcData)];

  // The record reads back as asked; the placeholders keep their language.
  EXPECT_EQ(rcdata[ResourceName::Id(201)][24415].bytes, (std::vector<uint8_t>{0, 0, 0, 0}));
  const std::vector<uint8_t>& record = rcdata[ResourceName::Id(201)][1041].bytes;
  PlayerSettings read;
  MemoryReader reader(record);
  ASSERT_TRUE(ReadSettings(read, reader, [] { return true; }));
  EXPECT_FALSE(read.windowed);  // asked at start and answered "full screen"
  EXPECT_TRUE(read.data_inside);
  EXPECT_FALSE(read.fixed_step);
  EXPECT_EQ(read.width, 320);
  EXPECT_EQ(read.height, 200);
  EXPECT_EQ(read.document_name, EncodedText::FromNarrow("a.cva"));
  EXPECT_EQ(read.start_label, EncodedText::FromNarrow("go"));
  EXPECT_EQ(read.step, 17);

  // The archive holds the pack list's files byte for byte, in order.
  EXPECT_EQ(rcdata[ResourceName::Id(200)].count(24415), 1u);
  LzpArchive archive;
  archive.OpenMemory(rcdata[ResourceName::Id(200)][1041].bytes);
  ASSERT_EQ(archive.entries().size(), 2u);
  EXPECT_EQ(archive.entries()[0].name, "a.cva");
  std::vector<uint8_t> member;
  ASSERT_TRUE(archive.OpenMember("pic.png", member));
  EXPECT_EQ(member, ReadBytes(dir.File("pic.png")));

  // Title: four letters and a NUL in block 2501; the class name stays in block 7.
  auto& strings = tree[ResourceName::Id(pe::kRtString)];
  const std::vector<uint8_t>& titles = strings[ResourceName::Id(2501)][1041].bytes;
  ASSERT_GE(titles.size(), 12u);
  EXPECT_EQ(std::vector<uint8_t>(titles.begin(), titles.begin() + 12),
            (std::vector<uint8_t>{5, 0, 'T', 0, 0xE9, 0, 's', 0, 't', 0, 0, 0}));
  EXPECT_EQ(strings[ResourceName::Id(7)][1041].bytes,
            testing::TemplateResources()[ResourceName::Id(pe::kRtString)][ResourceName::Id(7)][1041]
                .bytes);

  // The 32 x 32 image of the two, as both icons, with group entries describing it.
  const std::vector<uint8_t> icon_file = ReadBytes(dir.File("two.ico"));
  const std::vector<uint8_t> image(icon_file.end() - 1200, icon_file.end());
  EXPECT_EQ(tree[ResourceName::Id(pe::kRtIcon)][ResourceName::Id(1)][1041].bytes, image);
  EXPECT_EQ(tree[ResourceName::Id(pe::kRtIcon)][ResourceName::Id(2)][1041].bytes, image);
  const std::vector<uint8_t>& group =
      tree[ResourceName::Id(pe::kRtGroupIcon)][ResourceName::Id(108)][1041].bytes;
  EXPECT_EQ(group, (std::vector<uint8_t>{0, 0, 1,  0, 1,    0, 32, 32, 0, 0,
                                         1, 0, 32, 0, 0xB0, 4, 0,  0,  2, 0}));

  EXPECT_NE(printed.find("[201]は登録に成功しました。\nLang[17] Size[" +
                         std::to_string(record.size()) + "]\n"),
            std::string::npos)
      << printed;
  // Nothing but the output is left beside the inputs: no archive, no temporaries.
  EXPECT_EQ(Files(),
            (std::vector<std::string>{"a.cva", "cvaplay.exe", "out.exe", "pic.png", "two.ico"}));
  // The same inputs give the same bytes.
  const std::vector<uint8_t> first = ReadBytes(request.output_path);
  ASSERT_TRUE(Generate().ok());
  EXPECT_EQ(ReadBytes(request.output_path), first);
}

TEST_F(PlayerGenerationTest, FilesBesideWriteNoArchive) {
  request.settings.data_inside = false;
  ASSERT_TRUE(Generate().ok());
  ResourceTree tree = Output();
  auto& archive = tree[ResourceName::Id(pe::kRtRcData)][ResourceName::Id(200)];
  EXPECT_EQ(archive.size(), 1u);  // the placeholder only
  EXPECT_EQ(tree[ResourceName::Id(pe::kRtRcData)][ResourceName::Id(201)][1041].bytes[2], 0);
}

// Each failure names its step, and leaves neither an output nor any temporary behind; an
// output that existed before stays as it was.
TEST_F(PlayerGenerationTest, FailuresAreReportedAndLeaveNothingBehind) {
  using Step = GenerationResult::Step;
  WriteBytes(request.output_path, {'o', 'l', 'd'});
  const std::vector<std::string> before = Files();
  struct Case {
    const char* what;
    std::function<void(GenerationRequest&, PackList&)> change;
    Step step;
    const char* reason_part;
  };
  const std::vector<Case> cases = {
      {"missing template", [&](auto& r, auto&) { r.template_path = dir.File("cvasaver.scr"); },
       Step::kTemplate, "cvasaver.scr"},
      {"template not a program", [&](auto& r, auto&) { r.template_path = dir.File("a.cva"); },
       Step::kOpen, "MZ"},
      {"icon without 32 x 32",
       [&](auto& r, auto&) {
         WriteBytes(dir.File("small.ico"), IconFile({{16, 300}, {48, 900}}));
         r.icon_path = dir.File("small.ico");
       },
       Step::kIcon, "32 x 32"},
      {"missing icon", [&](auto& r, auto&) { r.icon_path = dir.File("none.ico"); }, Step::kIcon,
       "none.ico"},
      {"file gone since the load", [](auto&, auto& p) { p.Add("gone.png"); }, Step::kArchive,
       "gone.png"},
      {"output in a missing directory",
       [&](auto& r, auto&) { r.output_path = dir.File("no/such/out.exe"); }, Step::kCopy, ""},
  };
  for (const Case& c : cases) {
    GenerationRequest saved = request;
    PackList saved_list = pack_list;
    c.change(request, pack_list);
    const GenerationResult result = Generate();
    EXPECT_EQ(result.step, c.step) << c.what << ": " << result.Describe();
    EXPECT_NE(result.reason.find(c.reason_part), std::string::npos) << result.Describe();
    std::vector<std::string> after = Files();
    std::erase(after, "small.ico");
    EXPECT_EQ(after, before) << c.what;
    EXPECT_EQ(ReadBytes(dir.File("out.exe")), (std::vector<uint8_t>{'o', 'l', 'd'})) << c.what;
    request = saved;
    pack_list = saved_list;
  }
}

#ifdef CVAPACK_PATH
// `cvapack inspect` over a generated player: what it carries, at which language, and which
// settings record and archive the player reads; damaged input named with its offset.
TEST_F(PlayerGenerationTest, InspectShowsWhatTheGeneratedPlayerCarries) {
  WriteBytes(dir.File("two.ico"), IconFile({{16, 300}, {32, 1200}}));
  request.icon_path = dir.File("two.ico");
  ASSERT_TRUE(Generate().ok());
  auto inspect = [&](const std::string& file, int& status) {
    const std::string command = std::string("'") + CVAPACK_PATH + "' inspect '" + file + "' >'" +
                                dir.File("out.json") + "' 2>'" + dir.File("err.txt") + "'";
    const int raw = std::system(command.c_str());
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    const std::vector<uint8_t> out = ReadBytes(dir.File("out.json"));
    const std::vector<uint8_t> err = ReadBytes(dir.File("err.txt"));
    return std::pair{std::string(out.begin(), out.end()), std::string(err.begin(), err.end())};
  };
  int status = -1;
  auto [out, err] = inspect(request.output_path, status);
  ASSERT_EQ(status, 0) << err;
  using Json = nlohmann::ordered_json;
  const Json j = Json::parse(out);
  // Both settings records; the player reads the converter's.
  ASSERT_EQ(j["settings"].size(), 2u);
  EXPECT_EQ(j["settings"][0]["language"], 1041);
  EXPECT_EQ(j["settings"][0]["player_reads"], true);
  EXPECT_EQ(j["settings"][0]["record"]["width"], 320);
  EXPECT_EQ(j["settings"][0]["record"]["asks_full_screen"], true);
  EXPECT_EQ(j["settings"][1]["language"], 24415);
  EXPECT_EQ(j["settings"][1]["player_reads"], false);
  EXPECT_EQ(j["settings"][1]["record"]["present"], false);
  // The archive's members with their sizes; the placeholder archive is empty of members.
  EXPECT_EQ(j["archive"][0]["members"],
            Json::parse(R"([{"name": "a.cva", "bytes": 6}, {"name": "pic.png", "bytes": 70000}])"));
  EXPECT_EQ(j["archive"][1]["language"], 24415);
  EXPECT_EQ(j["title"], Json::parse(R"([{"language": 1041, "text": "Tést"}])"));
  EXPECT_EQ(j["icons"][0]["images"][0],
            Json::parse(R"({"id": 1, "width": 32, "height": 32, "bits_per_pixel": 32,
                            "bytes": 1200})"));
  EXPECT_NE(out.find(R"("type": "rcdata",)"), std::string::npos);

  // Not a program: the file and the reason, exit status 1.
  std::tie(out, err) = inspect(dir.File("a.cva"), status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(err, "cvapack: " + dir.File("a.cva") + ": not a Windows program (no MZ header)\n");

  // A settings record cut short: everything is still shown, the record is named with its
  // offset, and the exit status is 1.
  ResourceTree tree = Output();
  tree[ResourceName::Id(pe::kRtRcData)][ResourceName::Id(201)][1041].bytes.resize(5);
  WriteBytes(dir.File("cut.exe"), testing::SmallProgram(tree));
  std::tie(out, err) = inspect(dir.File("cut.exe"), status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(Json::parse(out)["settings"][0]["record"]["defaults"].size(), 5u);
  EXPECT_EQ(err, "cvapack: " + dir.File("cut.exe") +
                     ": settings record at language 1041: byte offset 4: the record ends inside "
                     "'width'\n");
}
#endif

}  // namespace
}  // namespace cva
