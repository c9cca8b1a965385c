#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "document/variable_table.h"
#include "scene/controller/controller_input.h"
#include "scene/controller/handler_tree.h"

namespace cva {

class Document;
class SceneNode;
struct ControllerRecord;

// The rule program of a scene node, run once per frame: its own variables, handler trees kept
// under 16-bit keys (read and kept, not evaluated), and the root handler tree that is
// evaluated every frame.
class NodeController {
 public:
  // Builds the controller of `node` from its record. The own variables start at their initial
  // values (the first entry of an id wins, as in a document's table); a later named handler
  // tree replaces an earlier one with the same key.
  NodeController(const ControllerRecord& record, SceneNode& node);
  ~NodeController();
  NodeController(const NodeController&) = delete;
  NodeController& operator=(const NodeController&) = delete;

  // Evaluates the root handler tree against `document`, the document whose scene is running.
  void Evaluate(Document& document, const ControllerInput& input);

  SceneNode& node() const { return node_; }
  // The document of the last evaluation (null before the first).
  Document* document() const { return document_; }
  VariableTable& variables() { return variables_; }
  const std::map<int16_t, std::unique_ptr<HandlerNode>>& named_handlers() const {
    return named_handlers_;
  }
  HandlerNode& root() { return *root_; }

 private:
  SceneNode& node_;
  Document* document_ = nullptr;
  VariableTable variables_;
  std::map<int16_t, std::unique_ptr<HandlerNode>> named_handlers_;
  std::unique_ptr<HandlerNode> root_;
};

}  // namespace cva
