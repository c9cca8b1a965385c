#pragma once

namespace cva {

class VariableTable;

// The process-wide variable table that node controllers of every document share (variable
// scope 2). Created empty on first use and kept until the program ends.
VariableTable& ProcessVariables();

}  // namespace cva
