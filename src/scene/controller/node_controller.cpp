#include "scene/controller/node_controller.h"

#include "scene/controller/controller_context.h"
#include "scene/controller_record.h"

namespace cva {

NodeController::NodeController(const ControllerRecord& record, SceneNode& node)
    : node_(node), root_(std::make_unique<HandlerNode>(record.root, nullptr)) {
  for (const VariableRecord& variable : record.variables.items)
    variables_.Add(variable.id, Variable::FromRecord(variable));
  for (const NamedHandlerRecord& named : record.named_handlers.items)
    named_handlers_[named.key] = std::make_unique<HandlerNode>(named.node, nullptr);
}

NodeController::~NodeController() = default;

void NodeController::Evaluate(Document& document, const ControllerInput& input) {
  document_ = &document;
  ControllerContext context{node_, document, variables_, input};
  root_->Evaluate(context);
}

}  // namespace cva
