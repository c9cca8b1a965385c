// The conditions of handler nodes.
#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "document/document.h"
#include "document/variable.h"
#include "scene/controller/controller_context.h"
#include "scene/controller/handler_tree.h"
#include "scene/controller/integer_rules.h"
#include "scene/display_node.h"
#include "scene/hit/hit_test.h"
#include "scene/hit/node_shape.h"
#include "scene/hit/polygon.h"
#include "scene/scene_node.h"

namespace cva {
namespace {

enum class Condition : uint8_t {
  kPointerOnTop = 1,
  kPointerOver = 2,
  kPointerAway = 3,
  kOverlapsNode = 4,
  kContainsPoint = 5,
  kOmitsPoint = 6,
  kBitsSet = 7,
  kBitsNotAllSet = 8,
  kCompare = 9,
  kButtonsHeld = 10,
  kButtonsPressed = 11,
  kButtonsNotHeld = 12,
  kLabelQueued = 13,
  kPointerMoved = 14,
};

bool Visible(const SceneNode& node) {
  return node.display().visibility != DisplayNode::kNotDrawn;
}

// The first node in pre-order, from the root of `node`'s tree, whose id is `id`.
SceneNode* FindNodeInScene(SceneNode& node, int32_t id) {
  SceneNode* root = &node;
  while (root->parent()) root = root->parent();
  std::vector<SceneNode*> stack{root};
  while (!stack.empty()) {
    SceneNode* current = stack.back();
    stack.pop_back();
    if (current->id() == id) return current;
    const auto& children = current->children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back(it->get());
  }
  return nullptr;
}

bool OutlinesOverlap(const SceneNode& a, const SceneNode& b) {
  const std::optional<Outline> first = NodeOutline(a);
  const std::optional<Outline> second = NodeOutline(b);
  return first && second && PolygonsOverlap(*first, *second);
}

// Whether the variable of the first operand has every bit of its mask set; none for an empty
// reference.
std::optional<bool> AllMaskBitsSet(const Handler& handler, const ControllerContext& context) {
  const Operand& operand = handler.operand(0);
  const Variable* variable = operand.FindVariable(context);
  if (!variable) return std::nullopt;
  return (variable->value() & operand.mask()) == operand.mask();
}

}  // namespace

bool TestCondition(const Handler& handler, ControllerContext& context) {
  SceneNode& node = context.node;
  const auto a = [&] { return handler.operand(0).Read(context); };
  const auto b = [&] { return handler.operand(1).Read(context); };
  const auto point = [&] { return Vec2{static_cast<float>(a()), static_cast<float>(b())}; };
  switch (static_cast<Condition>(handler.type())) {
    case Condition::kPointerOnTop:
      return Visible(node) && node.hit_state == kHitTopmost;
    case Condition::kPointerOver:
      return Visible(node) && (node.hit_state == kHitTopmost || node.hit_state == kHitCovered);
    case Condition::kPointerAway:
      return Visible(node) && node.hit_state == kNotHit;
    case Condition::kOverlapsNode: {
      if (!Visible(node)) return false;
      const SceneNode* other = FindNodeInScene(node, a());
      return other && Visible(*other) && OutlinesOverlap(node, *other);
    }
    case Condition::kContainsPoint:
      return Visible(node) && ContainsPoint(node, point());
    case Condition::kOmitsPoint:
      return Visible(node) && !ContainsPoint(node, point());
    case Condition::kBitsSet:
      return AllMaskBitsSet(handler, context).value_or(false);
    case Condition::kBitsNotAllSet: {
      const std::optional<bool> set = AllMaskBitsSet(handler, context);
      return set.has_value() && !*set;
    }
    case Condition::kCompare:
      return Compare(a(), handler.operand(1).mode(), b());
    case Condition::kButtonsHeld:
      return (a() & context.input.buttons) != 0;
    case Condition::kButtonsPressed:
      return (a() & context.input.pressed) != 0;
    case Condition::kButtonsNotHeld:
      return (a() & context.input.buttons) == 0;
    case Condition::kLabelQueued: {
      const std::vector<int32_t>& queue = context.document.queued_labels();
      return std::find(queue.begin(), queue.end(), a()) != queue.end();
    }
    case Condition::kPointerMoved:
      return context.input.moved;
  }
  return true;  // a condition without behaviour holds
}

}  // namespace cva
