#pragma once

#include <nlohmann/json.hpp>

#include "frame_trace.h"

namespace cva::trace {

// The JSON object of one frame, as cvatrace prints it (docs/trace-format.md).
nlohmann::ordered_json FrameToJson(const FrameTrace& frame);

}  // namespace cva::trace
