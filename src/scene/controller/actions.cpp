// The actions of handler nodes.
#include <optional>

#include "document/document.h"
#include "document/resource_provider.h"
#include "document/variable.h"
#include "scene/controller/controller_context.h"
#include "scene/controller/handler_tree.h"
#include "scene/controller/integer_rules.h"
#include "scene/embedded_view.h"
#include "scene/instance.h"
#include "scene/objects/scene_object.h"
#include "scene/scene_node.h"

namespace cva {
namespace {

enum class Action : uint8_t {
  kRequestLabel = 0,
  kFreeze = 1,
  kResume = 2,
  kEmbeddedLabel = 4,
  kSetBits = 7,
  kClearBits = 8,
  kClearVariable = 9,
  kArithmetic = 10,
  kDebugPrint = 11,
  kNothing = 12,
};

// The nested document the node's embedded scene instance shows, or null.
Document* EmbeddedDocumentOf(const SceneNode& node) {
  const EmbeddedView* view = EmbeddedViewOf(node);
  return view ? view->EmbeddedDocument() : nullptr;
}

// Applies `change` to the value of the first operand's variable and writes the result back
// through the operand; nothing for an empty reference.
template <class F>
void ChangeBits(Handler& handler, ControllerContext& context, F change) {
  Operand& operand = handler.operand(0);
  const Variable* variable = operand.FindVariable(context);
  if (!variable) return;
  operand.Write(context, change(variable->value(), operand.mask()));
}

}  // namespace

void RunAction(Handler& handler, ControllerContext& context) {
  SceneNode& node = context.node;
  switch (static_cast<Action>(handler.type())) {
    case Action::kRequestLabel:
      context.document.RequestLabel(handler.operand(0).Read(context));
      return;
    case Action::kFreeze:
      node.frozen = true;
      return;
    case Action::kResume:
      node.frozen = false;
      node.suspended = false;
      return;
    case Action::kEmbeddedLabel:
      if (Document* nested = EmbeddedDocumentOf(node))
        nested->RequestLabel(nested->label_names().Find(handler.operand(0).text()));
      return;
    case Action::kSetBits:
      ChangeBits(handler, context, [](int32_t v, int32_t mask) { return v | mask; });
      return;
    case Action::kClearBits:
      ChangeBits(handler, context, [](int32_t v, int32_t mask) { return v & ~mask; });
      return;
    case Action::kClearVariable:
      ChangeBits(handler, context, [](int32_t, int32_t) { return 0; });
      return;
    case Action::kArithmetic: {
      Operand& target = handler.operand(0);
      const Operand& source = handler.operand(1);
      const std::optional<int32_t> result =
          Arithmetic(target.Read(context), source.mode(), source.Read(context));
      if (result) target.Write(context, *result);
      return;
    }
    case Action::kDebugPrint:
      if (handler.operand_count() > 0)
        context.document.provider().DebugPrint(handler.operand(0).text());
      return;
    case Action::kNothing:
      return;
  }
  // Types 3, 5, 6 and above 12 have no behaviour.
}

}  // namespace cva
