#pragma once

#include "scene/controller/controller_input.h"

namespace cva {

class Document;
class SceneNode;
class VariableTable;

// What one evaluation of a node controller works on: the node it belongs to, the document
// whose scene is being run, the controller's own variables and this frame's pointer input.
struct ControllerContext {
  SceneNode& node;
  Document& document;
  VariableTable& own_variables;
  const ControllerInput& input;
};

}  // namespace cva
