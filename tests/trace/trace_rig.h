#pragma once

// Runs the trace engine over the compiled fixtures, with the files served by RecordingServices.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "frame_trace.h"
#include "input_script.h"
#include "support/recording_services.h"
#include "trace_session.h"

namespace cva::testing {

inline std::vector<uint8_t> FixtureBytes(const std::string& file) {
  std::ifstream in(std::string(CVA_FIXTURE_DIR) + "/" + file, std::ios::binary);
  EXPECT_TRUE(in) << file;
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TraceTest : public ::testing::Test {
 protected:
  TraceTest() {
    for (const char* file :
         {"trace_conditions.cva", "trace_actions.cva", "trace_timeline.cva", "trace_sound.cva",
          "trace_properties.cva", "minimal.cva", "red.png", "blue.png"})
      services.files[file] = FixtureBytes(file);
  }

  static trace::TraceOptions Options(const std::string& document, int32_t frames,
                                     uint32_t fixed_step_ms = 100) {
    trace::TraceOptions options;
    options.document = document;
    options.frames = frames;
    options.step_ms = fixed_step_ms;
    return options;
  }

  // Frames 0 to options.frames - 1 of a trace that must load.
  std::vector<trace::FrameTrace> Trace(trace::TraceOptions options,
                                       const std::string& script = "") {
    if (!script.empty()) {
      std::string why;
      EXPECT_TRUE(session::ParseInputScript(script, options.input, why)) << why;
    }
    std::vector<trace::FrameTrace> frames;
    trace::TraceSession session(std::move(options));
    EXPECT_TRUE(session.Run([&](const trace::FrameTrace& f) { frames.push_back(f); }))
        << session.error();
    return frames;
  }

  RecordingServices services;
};

// Document variable `id` after a frame (-999 when the document has none).
inline int32_t DocVar(const trace::FrameTrace& frame, int32_t id) {
  return frame.Variable(trace::VariableTrace::Scope::kDocument, id).value_or(-999);
}

// The primitive draws of a frame (render-state applies and mask groups left out).
inline std::vector<DrawRecord> DrawsOf(const trace::FrameTrace& frame) {
  std::vector<DrawRecord> draws;
  for (const DrawRecord& record : frame.draws)
    if (record.IsDraw()) draws.push_back(record);
  return draws;
}

}  // namespace cva::testing
