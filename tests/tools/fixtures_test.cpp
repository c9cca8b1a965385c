// The test documents: compiled at build time, lossless through the JSON form, and loadable by
// the converter's reader.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "converter/headless_platform.h"
#include "document/document.h"
#include "document/document_file.h"
#include "document_json.h"
#include "fixture_files.h"
#include "json_values.h"
#include "scene/host/playback_host.h"
#include "stream/memory_reader.h"
#include "stream/read_visitor.h"
#include "support/recording_services.h"

namespace cva {
namespace {

using json::Json;
using testing::Compiled;
using testing::FixtureNames;
using testing::FixtureSource;

TEST(FixtureTest, EveryFixtureCompilesToTheBuiltFileAndSurvivesARoundTrip) {
  const std::vector<std::string> names = FixtureNames();
  ASSERT_GE(names.size(), 7u);
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> bytes = Compiled(name);
    ASSERT_FALSE(bytes.empty());
    const json::CompileResult from_source = json::CompileDocument(FixtureSource(name));
    ASSERT_TRUE(from_source.ok) << from_source.error;
    EXPECT_EQ(from_source.bytes, bytes);

    const json::DumpResult dump = json::DumpDocument(bytes);
    ASSERT_TRUE(dump.ok) << dump.error;
    const json::CompileResult again = json::CompileDocument(dump.json);
    ASSERT_TRUE(again.ok) << again.error;
    EXPECT_EQ(again.bytes, bytes);
    EXPECT_EQ(json::DumpDocument(again.bytes).json, dump.json);
  }
}

// Documents with damaged bytes: whatever still reads completely must come back unchanged, and
// nothing may crash. A fixed seed keeps failures reproducible.
TEST(FixtureTest, DamagedDocumentsThatStillReadSurviveARoundTrip) {
  std::mt19937 random(20090130);
  int still_read = 0;
  for (const std::string& name : FixtureNames()) {
    const std::vector<uint8_t> original = Compiled(name);
    for (int round = 0; round < 120; ++round) {
      std::vector<uint8_t> bytes = original;
      for (int k = 0; k < 3; ++k) bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
      const json::DumpResult dump = json::DumpDocument(bytes);
      if (!dump.ok) continue;
      ++still_read;
      const json::CompileResult again = json::CompileDocument(dump.json);
      ASSERT_TRUE(again.ok) << name << ": " << again.error;
      ASSERT_EQ(again.bytes, bytes) << name << " round " << round;
    }
  }
  EXPECT_GT(still_read, 100) << still_read;
}

// Values found under `key` in records inside a container named `within` (the nearest
// enclosing key; array items belong to their array's key).
class ValueCollector {
 public:
  void Walk(const Json& j, const std::string& within) {
    if (j.is_array()) {
      for (const Json& item : j) Walk(item, within);
    } else if (j.is_object()) {
      for (auto it = j.begin(); it != j.end(); ++it) {
        if (it->is_number_integer() || it->is_boolean())
          seen[within + "/" + it.key()].insert(it->is_boolean() ? it->get<bool>() : it->get<int>());
        Walk(*it, it.key());
      }
    }
  }
  std::set<int> Range(int first, int last) const {
    std::set<int> all;
    for (int i = first; i <= last; ++i) all.insert(i);
    return all;
  }
  // The values of `path` within [first, last] that were not seen.
  std::set<int> Missing(const std::string& path, int first, int last) const {
    std::set<int> missing = Range(first, last);
    auto it = seen.find(path);
    if (it != seen.end())
      for (int v : it->second) missing.erase(v);
    return missing;
  }
  std::map<std::string, std::set<int>> seen;
};

TEST(FixtureTest, FixturesTogetherUseEveryCodeOfTheFormat) {
  ValueCollector collector;
  for (const std::string& name : FixtureNames())
    collector.Walk(Json::parse(FixtureSource(name)), "");
  EXPECT_EQ(collector.Missing("objects/type", 1, 11), std::set<int>{});
  EXPECT_EQ(collector.Missing("keyframes/property", 0, 25), std::set<int>{});
  EXPECT_EQ(collector.Missing("ease/curve", 0, 5), std::set<int>{});
  EXPECT_EQ(collector.Missing("keyframes/jump", 0, 3), std::set<int>{});
  EXPECT_EQ(collector.Missing("keyframes/inheritance", 0, 2), std::set<int>{});
  EXPECT_EQ(collector.Missing("variables/plain", 0, 1), std::set<int>{});
  EXPECT_EQ(collector.Missing("operands/type", 1, 12), std::set<int>{});
  EXPECT_EQ(collector.Missing("conditions/condition", 1, 14), std::set<int>{});
  EXPECT_EQ(collector.Missing("children/action", 0, 12), std::set<int>{});
  EXPECT_EQ(collector.Missing("resources/kind", 0, 2), std::set<int>{});
  EXPECT_EQ(collector.Missing("variable/scope", 0, 2), std::set<int>{});
}

EncodedText Sjis(const std::string& s) {
  return EncodedText::FromNarrow(s);
}

// Why a load has not finished, for failure messages.
std::string PendingState(const PlaybackHost& host) {
  const DocumentLoader* loader = host.pending_loader();
  if (!loader) return "no pending load";
  return "state " + std::to_string(loader->state()) + ": " + loader->error();
}

// Loads documents from the build's fixture directory through the converter's provider.
class FixtureLoadTest : public ::testing::Test {
 protected:
  FixtureLoadTest() {
    for (const auto& entry : std::filesystem::directory_iterator(CVA_FIXTURE_DIR))
      if (entry.is_regular_file())
        services.files[entry.path().filename().string()] =
            Bytes(testing::ReadText(entry.path().string()));
  }
  static std::vector<uint8_t> Bytes(const std::string& s) {
    return std::vector<uint8_t>(s.begin(), s.end());
  }

  testing::RecordingServices services;
  PackList pack_list;
  HeadlessPlatform platform{pack_list};
};

// Whether loading `bytes` waits for resources: images, and nested documents with their load
// flag. Such resources are started while the document is parsed (its second poll) and, like
// every fetched resource, are usable on their own second poll, one host poll later.
bool AwaitsResources(const std::vector<uint8_t>& bytes) {
  DocumentFile file;
  MemoryReader reader(bytes);
  ReadVisitor read(reader);
  file.Visit(read);
  EXPECT_TRUE(read.ok()) << read.error();
  for (const ResourceRecord& resource : file.resources)
    if (resource.kind == 0 || (resource.kind == 2 && resource.load.on())) return true;
  return false;
}

TEST_F(FixtureLoadTest, EveryFixtureBecomesCurrentOnceItsResourcesAreLoaded) {
  int with_resources = 0;
  for (const std::string& name : FixtureNames()) {
    SCOPED_TRACE(name);
    PlaybackHost host(platform);
    host.StartLoad(Sjis(name + ".cva"), Sjis("default"));
    const int polls = AwaitsResources(testing::Compiled(name)) ? 3 : 2;
    with_resources += polls == 3;
    for (int i = 1; i < polls; ++i) {
      host.Advance(16);
      EXPECT_EQ(host.document(), nullptr) << "poll " << i;
    }
    host.Advance(16);
    ASSERT_NE(host.document(), nullptr) << PendingState(host);
    EXPECT_EQ(host.pending_loader(), nullptr);
    EXPECT_TRUE(services.messages.empty());
    // Every document but the foreign one has the start label and queues it.
    if (name == "foreign_version") {
      EXPECT_EQ(host.document()->label_names().size(), 0u);
      EXPECT_EQ(host.document()->root(), nullptr);
    } else {
      EXPECT_EQ(host.document()->queued_labels(), (std::vector<int32_t>{1000}));
      EXPECT_NE(host.document()->root(), nullptr);
    }
  }
  EXPECT_GE(with_resources, 2);
}

TEST_F(FixtureLoadTest, LoadedTablesMatchTheSources) {
  PlaybackHost host(platform);
  host.StartLoad(Sjis("objects.cva"), Sjis("default"));
  for (int i = 0; i < 3; ++i) host.Advance(16);
  ASSERT_NE(host.document(), nullptr);
  const Document& objects = *host.document();
  EXPECT_EQ(objects.objects().size(), 12u);
  EXPECT_EQ(objects.resources().size(), 6u);
  ASSERT_NE(objects.property_list(), nullptr);
  EXPECT_EQ(objects.property_list()->size(), 3u);
  EXPECT_EQ(objects.label_names().Find(EncodedText::FromUtf16(u"二番目")), 1001);

  host.StartLoad(Sjis("controllers.cva"), Sjis("default"));
  for (int i = 0; i < 3; ++i) host.Advance(16);
  ASSERT_NE(host.document(), nullptr);
  const VariableTable& variables = host.document()->variables();
  ASSERT_EQ(variables.size(), 3u);
  EXPECT_EQ(variables.Find(1)->value(), 5);   // plain: starts at its initial value
  EXPECT_EQ(variables.Find(2)->value(), 5);   // 25 wrapped into 0..10
  EXPECT_EQ(variables.Find(3)->value(), -5);  // -20 raised to the minimum

  host.StartLoad(Sjis("odd.cva"), Sjis("default"));
  for (int i = 0; i < 3; ++i) host.Advance(16);
  ASSERT_NE(host.document(), nullptr);
  // A label name stored with its terminator equals the same name stored without it.
  EXPECT_EQ(host.document()->label_names().Find(Sjis("default")), 1000);
}

TEST_F(FixtureLoadTest, PackListHoldsDocumentsAndImagesInFetchOrderWithDuplicates) {
  PlaybackHost host(platform);
  host.StartLoad(Sjis("objects.cva"), Sjis("default"));
  for (int i = 0; i < 3; ++i) host.Advance(16);
  ASSERT_NE(host.document(), nullptr);
  // Documents are listed when opened, images when loaded; the nested document without its
  // load flag is never fetched, and sounds are not packed.
  EXPECT_EQ(pack_list.names(), (std::vector<std::string>{"objects.cva", "child.cva", "red.png",
                                                         "blue.png", "red.png"}));
}

}  // namespace
}  // namespace cva
