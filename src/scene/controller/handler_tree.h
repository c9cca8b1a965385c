#pragma once

#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "scene/controller/operand.h"

namespace cva {

struct ControllerContext;
struct HandlerNodeRecord;
struct HandlerRecord;

// A condition or an action: its type code, whether it takes part, and its operands.
class Handler {
 public:
  Handler(uint8_t type, const HandlerRecord& record);

  uint8_t type() const { return type_; }
  bool enabled() const { return enabled_; }
  size_t operand_count() const { return operands_.size(); }
  // Operand `i`, or the empty operand when the handler has fewer (it reads 0 and ignores
  // writes), so that a short operand list never reaches outside the handler.
  Operand& operand(size_t i);
  const Operand& operand(size_t i) const;

 private:
  uint8_t type_;
  bool enabled_;
  std::vector<Operand> operands_;
  Operand missing_;
};

// A node of a controller's handler tree: conditions, children run in order when they all hold
// (actions, and nested nodes evaluated in the same way), and an optional else branch run when
// they do not.
class HandlerNode {
 public:
  // The deepest handler tree that is built; records nested deeper (documents cannot hold them,
  // their reader refuses such nesting) are cut off at this depth.
  static constexpr int kMaxDepth = 256;

  using Child = std::variant<Handler, std::unique_ptr<HandlerNode>>;

  // Builds the node and everything below it; `parent` is null for the top of a tree.
  HandlerNode(const HandlerNodeRecord& record, HandlerNode* parent, int depth = 1);
  ~HandlerNode();
  HandlerNode(const HandlerNode&) = delete;
  HandlerNode& operator=(const HandlerNode&) = delete;

  // If the node is enabled and every enabled condition holds (tested in order; the first that
  // fails ends the test), runs the enabled children in order; otherwise evaluates the else
  // branch, if any.
  void Evaluate(ControllerContext& context);

  bool enabled = true;
  HandlerNode* parent() const { return parent_; }
  const std::vector<Handler>& conditions() const { return conditions_; }
  const std::vector<Child>& children() const { return children_; }
  HandlerNode* else_node() const { return else_node_.get(); }

 private:
  bool ConditionsHold(ControllerContext& context);

  HandlerNode* parent_;
  std::vector<Handler> conditions_;
  std::vector<Child> children_;
  std::unique_ptr<HandlerNode> else_node_;
};

// Whether condition `handler` holds (types 1 to 14; every other type holds).
bool TestCondition(const Handler& handler, ControllerContext& context);
// Carries out action `handler` (types 0 to 12; other types do nothing).
void RunAction(Handler& handler, ControllerContext& context);

}  // namespace cva
