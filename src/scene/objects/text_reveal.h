#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "scene/text/text_layout.h"
#include "stream/encoded_text.h"

namespace cva {

class TextNode;

// The progressive reveal of a text instance: which paragraph is shown and how many of its
// glyphs. Glyphs appear one per glyph interval of accumulated time; a pause holds the reveal
// for its length first. Time is in milliseconds.
//
// The commands attached to a glyph run when the reveal reaches it (glyph 0 when a paragraph
// is selected, glyph n when the count becomes n), and scale the timing value (the document's
// frame duration): a glyph-interval command with value v makes the interval timing / v
// (v glyphs per frame), a pause command with value v pauses for timing x v (v frames), and a
// jump command asks for the label of its name. Commands whose value is not a finite number
// change nothing.
class TextReveal {
 public:
  // Called with the label name of a jump command.
  using JumpSink = std::function<void(const EncodedText& label)>;

  explicit TextReveal(float timing) : timing_(timing) { Reset(); }

  // Paragraph -1 (the first), no glyph counted, one glyph per timing value, no pause.
  void Reset();
  // Shows paragraph `paragraph` from its start and runs the commands of its first glyph.
  void Select(int32_t paragraph, const TextNode& text, const JumpSink& jump);
  // Lets `dt` milliseconds pass (a negative or non-finite dt counts as 0). Once every glyph
  // of the paragraph is counted the reveal stops and keeps no time, so that the next
  // paragraph starts its reveal afresh instead of showing at once the glyphs of all the time
  // spent after the end.
  void Advance(float dt, const TextNode& text, const JumpSink& jump);

  int32_t paragraph() const { return paragraph_; }
  int32_t count() const { return count_; }
  float interval() const { return interval_; }
  float pause() const { return pause_; }
  float clock() const { return clock_; }
  float timing() const { return timing_; }

 private:
  void Run(const std::vector<TextCommand>& commands, const JumpSink& jump);

  float timing_;
  int32_t paragraph_ = -1;
  int32_t count_ = 0;
  float interval_ = 0.0f;
  float pause_ = 0.0f;
  float clock_ = 0.0f;
};

}  // namespace cva
