#include "document/loadable_resource.h"

#include <gtest/gtest.h>

#include <deque>

#include "document/fake_provider.h"

namespace cva {
namespace {

using testing::FakeProvider;

// A resource whose loads answer from a script and remember the bytes they were given.
class ScriptedResource final : public LoadableResource {
 public:
  ScriptedResource(ResourceProvider& provider, const char* name)
      : LoadableResource(provider, EncodedText::FromNarrow(name)) {}
  ResourceKind Kind() const override { return ResourceKind::kImage; }

  std::deque<LoadResult> answers;
  std::vector<std::vector<uint8_t>> loads;
  int releases = 0;

 protected:
  LoadResult Load(std::vector<uint8_t>& bytes) override {
    loads.push_back(bytes);
    if (answers.empty()) return kLoaded;
    const LoadResult answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ReleaseLoaded() override { ++releases; }
};

class LoadableResourceTest : public ::testing::Test {
 protected:
  LoadableResourceTest() { provider.files["a.png"] = {1, 2, 3}; }
  FakeProvider provider;
};

TEST_F(LoadableResourceTest, UsableOnTheSecondPollAndStartIsIgnoredWhileBusy) {
  ScriptedResource r(provider, "a.png");
  EXPECT_EQ(r.state(), LoadableResource::kIdle);
  EXPECT_EQ(r.Start(), LoadableResource::kRequested);
  EXPECT_EQ(r.Start(), LoadableResource::kRequested);
  EXPECT_EQ(r.Poll(), LoadableResource::kFetched);
  EXPECT_TRUE(r.loads.empty());
  EXPECT_EQ(r.Start(), LoadableResource::kFetched);
  EXPECT_EQ(r.Poll(), LoadableResource::kDone);
  ASSERT_EQ(r.loads.size(), 1u);
  EXPECT_EQ(r.loads[0], (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(r.Start(), LoadableResource::kDone);
  EXPECT_EQ(r.Poll(), LoadableResource::kDone);
  EXPECT_EQ(r.loads.size(), 1u);
  EXPECT_EQ(provider.opened.size(), 1u);
}

TEST_F(LoadableResourceTest, MissingDataFailsAtOnceAndRestartAsksAgain) {
  ScriptedResource r(provider, "missing.png");
  EXPECT_EQ(r.Start(), LoadableResource::kFailed);
  EXPECT_EQ(r.Poll(), LoadableResource::kFailed);
  EXPECT_TRUE(r.loads.empty());
  provider.files["missing.png"] = {9};
  EXPECT_EQ(r.Start(), LoadableResource::kRequested);
  EXPECT_EQ(provider.opened, (std::vector<std::string>{"missing.png", "missing.png"}));
  r.Poll();
  EXPECT_EQ(r.Poll(), LoadableResource::kDone);
}

TEST_F(LoadableResourceTest, FailedLoadCanBeRestartedWithFreshBytes) {
  ScriptedResource r(provider, "a.png");
  r.answers = {LoadableResource::kLoadFailed};
  r.Start();
  r.Poll();
  EXPECT_EQ(r.Poll(), LoadableResource::kFailed);
  EXPECT_EQ(r.Poll(), LoadableResource::kFailed);
  EXPECT_EQ(r.loads.size(), 1u);

  provider.files["a.png"] = {7};
  EXPECT_EQ(r.Start(), LoadableResource::kRequested);
  EXPECT_EQ(provider.opened.size(), 2u);
  EXPECT_GE(r.releases, 1);
  r.Poll();
  EXPECT_EQ(r.Poll(), LoadableResource::kDone);
  EXPECT_EQ(r.loads.back(), (std::vector<uint8_t>{7}));
}

TEST_F(LoadableResourceTest, NotYetLoadsAgainAtTheNextPoll) {
  ScriptedResource r(provider, "a.png");
  r.answers = {LoadableResource::kNotYet, LoadableResource::kNotYet};
  r.Start();
  r.Poll();
  EXPECT_EQ(r.Poll(), LoadableResource::kFetched);
  EXPECT_EQ(r.Poll(), LoadableResource::kFetched);
  EXPECT_EQ(r.Poll(), LoadableResource::kDone);
  EXPECT_EQ(r.loads.size(), 3u);
}

TEST_F(LoadableResourceTest, SlowRequestIsAdvancedOncePerPoll) {
  provider.advances_needed = 2;
  ScriptedResource r(provider, "a.png");
  r.Start();
  EXPECT_EQ(r.Poll(), LoadableResource::kRequested);
  EXPECT_EQ(r.Poll(), LoadableResource::kFetched);
  EXPECT_EQ(r.Poll(), LoadableResource::kDone);
}

TEST_F(LoadableResourceTest, UnloadReturnsToIdleAndLoadDirectlyNeedsNoData) {
  ScriptedResource r(provider, "a.png");
  r.Start();
  r.Poll();
  r.Poll();
  r.Unload();
  EXPECT_EQ(r.state(), LoadableResource::kIdle);
  EXPECT_EQ(r.Start(), LoadableResource::kRequested);

  ScriptedResource direct(provider, "not-a-file");
  direct.answers = {LoadableResource::kLoadFailed};
  EXPECT_EQ(direct.LoadDirectly(), LoadableResource::kFailed);
  EXPECT_EQ(direct.LoadDirectly(), LoadableResource::kDone);
  EXPECT_TRUE(direct.loads[0].empty());
  EXPECT_EQ(provider.opened.size(), 2u);  // only the two starts of "a.png"
}

}  // namespace
}  // namespace cva
