#pragma once

#include <string>

#include "json_values.h"

namespace cva::json {

// JSON text laid out for people: two-space indents, a record whose values are all plain
// (numbers, strings, booleans) on one line when it fits, and long arrays of plain values
// wrapped several to a line. Ends with a newline.
std::string LayOut(const Json& value);

}  // namespace cva::json
