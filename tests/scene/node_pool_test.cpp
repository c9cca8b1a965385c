// The node pool hands out storage in order from large blocks and gives a block back when the
// last object in it goes; scene nodes come from it.
#include "scene/node_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "document/composed_provider.h"
#include "scene/scene_node.h"
#include "system/large_blocks.h"

namespace cva {
namespace {

struct Piece {
  void* storage;
  size_t bytes;
  size_t alignment;
};

TEST(NodePoolTest, StorageIsAlignedOwnAndHandedOutInOrder) {
  std::vector<Piece> pieces;
  const size_t alignments[] = {1, 8, 16, 64, 4096};
  for (int i = 0; i < 2000; ++i) {
    const size_t alignment = alignments[i % 5];
    const size_t bytes = 1 + static_cast<size_t>(i * 37 % 3000);
    void* storage = NodePool::Allocate(bytes, alignment);
    ASSERT_EQ(reinterpret_cast<uintptr_t>(storage) % alignment, 0u);
    std::memset(storage, i & 0xFF, bytes);
    pieces.push_back({storage, bytes, alignment});
  }
  // Every piece still holds what was written into it: nothing overlaps.
  for (size_t i = 0; i < pieces.size(); ++i) {
    const auto* bytes = static_cast<const unsigned char*>(pieces[i].storage);
    ASSERT_TRUE(std::all_of(bytes, bytes + pieces[i].bytes, [&](unsigned char b) {
      return b == (i & 0xFF);
    })) << i;
  }
  // Within one block, later pieces lie after earlier ones: the order of building is the
  // order in memory.
  size_t ascending = 0;
  for (size_t i = 1; i < pieces.size(); ++i)
    if (pieces[i].storage > pieces[i - 1].storage) ++ascending;
  EXPECT_GE(ascending + 8, pieces.size() - 1);  // a handful of block changes at most
  for (const Piece& piece : pieces) NodePool::Free(piece.storage, piece.bytes, piece.alignment);
}

TEST(NodePoolTest, BlocksGoBackWhenTheirLastObjectGoes) {
  const size_t before = NodePool::BlocksInUse();
  constexpr size_t kPiece = 60000;
  const size_t per_block = kLargeBlockBytes / kPiece;
  std::vector<void*> pieces;
  for (size_t i = 0; i < per_block * 4; ++i) pieces.push_back(NodePool::Allocate(kPiece, 64));
  EXPECT_GE(NodePool::BlocksInUse(), before + 3);
  // Freed in an order unlike the order of allocation.
  std::reverse(pieces.begin(), pieces.begin() + static_cast<std::ptrdiff_t>(pieces.size() / 2));
  for (void* piece : pieces) NodePool::Free(piece, kPiece, 64);
  // Only the block being filled may stay.
  EXPECT_LE(NodePool::BlocksInUse(), std::max<size_t>(before, 1));
}

TEST(NodePoolTest, LargeObjectsAndAlignmentsComeFromTheHeap) {
  const size_t blocks = NodePool::BlocksInUse();
  void* big = NodePool::Allocate(NodePool::kMaxObjectBytes + 1, 16);
  void* aligned = NodePool::Allocate(64, NodePool::kMaxAlignment * 2);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(aligned) % (NodePool::kMaxAlignment * 2), 0u);
  std::memset(big, 1, NodePool::kMaxObjectBytes + 1);
  EXPECT_EQ(NodePool::BlocksInUse(), blocks);
  NodePool::Free(big, NodePool::kMaxObjectBytes + 1, 16);
  NodePool::Free(aligned, 64, NodePool::kMaxAlignment * 2);
  NodePool::Free(nullptr, 64, 64);  // ignored, like delete of null
}

TEST(NodePoolTest, SceneNodesOfATreeFollowEachOtherInMemory) {
  ComposedProvider provider;
  auto root = std::make_unique<SceneNode>(0, provider);
  std::vector<const SceneNode*> built{root.get()};
  for (int i = 1; i < 50; ++i)
    built.push_back(&root->AddChild(std::make_unique<SceneNode>(i, provider)));
  size_t ascending = 0;
  for (size_t i = 1; i < built.size(); ++i)
    if (built[i] > built[i - 1]) ++ascending;
  EXPECT_GE(ascending + 1, built.size() - 1);
  for (const SceneNode* node : built)
    EXPECT_EQ(reinterpret_cast<uintptr_t>(node) % alignof(SceneNode), 0u);
  root.reset();  // frees every node through the pool (ASan checks the poisoning)
}

}  // namespace
}  // namespace cva
