#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "archive/archive_writer.h"
#include "archive/lzp_archive.h"
#include "document/data_source.h"
#include "support/recording_services.h"
#include "support/temp_dir.h"
#include "system/services.h"

namespace cva {
namespace {

TEST(DataSource, FilesComeWholeOrWithTheLoadFailureMessage) {
  testing::RecordingServices services;
  FileDataSource files;
  services.files["a.cva"] = {1, 2, 3};
  auto request = files.OpenData(EncodedText::FromNarrow("a.cva"));
  ASSERT_NE(request, nullptr);
  EXPECT_TRUE(request->IsComplete());
  EXPECT_EQ(request->Bytes(), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_TRUE(services.messages.empty());

  // A UTF-16 name is reported in readable form.
  EXPECT_EQ(files.OpenData(EncodedText::FromUtf16(u"画像.png")), nullptr);
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].text, "画像.pngが読み込めません。");
  EXPECT_EQ(services.messages[0].caption, "ロードの失敗");
  EXPECT_EQ(services.messages[0].buttons, Services::Buttons::kOk);
}

// The platform's own services find a file by a Shift-JIS name whatever the system's code page
// (Wine's default locale is English), and by the same name stored as UTF-16.
TEST(DataSource, PlatformFilesByJapaneseNames) {
  testing::TempDir dir;
  std::ofstream(dir.path() / std::filesystem::path(u8"画像.bin"), std::ios::binary) << "abc";
  std::filesystem::current_path(dir.path());
  const EncodedText shift_jis = EncodedText::FromNarrow("\x89\xe6\x91\x9c.bin");  // 画像.bin
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(SystemServices().FileExists(shift_jis));
  ASSERT_TRUE(SystemServices().ReadFile(shift_jis, bytes));
  EXPECT_EQ(bytes, (std::vector<uint8_t>{'a', 'b', 'c'}));
  EXPECT_TRUE(SystemServices().ReadFile(EncodedText::FromUtf16(u"画像.bin"), bytes));
  EXPECT_FALSE(SystemServices().FileExists(EncodedText::FromNarrow("\x89\xe6.bin")));
  std::filesystem::current_path(std::filesystem::temp_directory_path());
}

TEST(DataSource, ArchiveMembersByNarrowName) {
  testing::RecordingServices services;
  testing::TempDir dir;
  testing::WriteBytes(dir.File("m"), {9, 8});
  ArchiveWriter w;
  ASSERT_TRUE(w.Open(dir.File("a.lzp")));
  w.Add("\x89\xE6\x91\x9C.png", dir.File("m"));  // "画像.png" in code page 932
  ASSERT_TRUE(w.Finish());
  LzpArchive archive;
  ASSERT_TRUE(archive.OpenFile(dir.File("a.lzp")));
  ArchiveDataSource members(archive);

  // A UTF-16 name finds the member stored under its code page 932 form.
  auto found = members.OpenData(EncodedText::FromUtf16(u"画像.png"));
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->Bytes(), (std::vector<uint8_t>{9, 8}));
  EXPECT_TRUE(services.messages.empty());

  // A missing member still gives a complete request, without bytes, after the message.
  auto missing = members.OpenData(EncodedText::FromNarrow("base.cva"));
  ASSERT_NE(missing, nullptr);
  EXPECT_TRUE(missing->IsComplete());
  EXPECT_TRUE(missing->Bytes().empty());
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].text, "base.cvaのロードができません");
  EXPECT_EQ(services.messages[0].caption, "ロードの失敗");
}

}  // namespace
}  // namespace cva
