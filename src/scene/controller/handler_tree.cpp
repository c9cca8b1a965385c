#include "scene/controller/handler_tree.h"

#include "scene/controller/handler_record.h"

namespace cva {

Handler::Handler(uint8_t type, const HandlerRecord& record)
    : type_(type), enabled_(record.enabled.on()) {
  operands_.reserve(record.operands.items.size());
  for (const OperandRecord& operand : record.operands.items) operands_.emplace_back(operand);
}

Operand& Handler::operand(size_t i) {
  if (i < operands_.size()) return operands_[i];
  missing_ = Operand();  // undo any write made to it through an earlier call
  return missing_;
}

const Operand& Handler::operand(size_t i) const {
  static const Operand kMissing;
  return i < operands_.size() ? operands_[i] : kMissing;
}

HandlerNode::HandlerNode(const HandlerNodeRecord& record, HandlerNode* parent, int depth)
    : parent_(parent) {
  conditions_.reserve(record.conditions.items.size());
  for (const ConditionEntry& condition : record.conditions.items)
    conditions_.emplace_back(condition.condition, condition.handler);
  const bool may_nest = depth < kMaxDepth;
  children_.reserve(record.children.items.size());
  for (const HandlerChildEntry& child : record.children.items) {
    if (child.kind == static_cast<uint8_t>(HandlerChildKind::kAction)) {
      children_.emplace_back(std::in_place_type<Handler>, child.action, child.handler);
    } else if (child.node && may_nest) {
      children_.emplace_back(std::make_unique<HandlerNode>(*child.node, this, depth + 1));
    }
  }
  if (record.else_marker == HandlerNodeRecord::kElsePresent && record.else_node && may_nest)
    else_node_ = std::make_unique<HandlerNode>(*record.else_node, this, depth + 1);
}

HandlerNode::~HandlerNode() = default;

bool HandlerNode::ConditionsHold(ControllerContext& context) {
  for (const Handler& condition : conditions_) {
    if (condition.enabled() && !TestCondition(condition, context)) return false;
  }
  return true;
}

void HandlerNode::Evaluate(ControllerContext& context) {
  if (enabled && ConditionsHold(context)) {
    for (Child& child : children_) {
      if (Handler* action = std::get_if<Handler>(&child)) {
        if (action->enabled()) RunAction(*action, context);
      } else if (HandlerNode* node = std::get<std::unique_ptr<HandlerNode>>(child).get()) {
        if (node->enabled) node->Evaluate(context);
      }
    }
  } else if (else_node_) {
    else_node_->Evaluate(context);
  }
}

}  // namespace cva
