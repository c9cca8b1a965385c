#include "scene/controller/process_variables.h"

#include "document/variable_table.h"

namespace cva {

VariableTable& ProcessVariables() {
  static VariableTable table;
  return table;
}

}  // namespace cva
