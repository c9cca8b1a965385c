#include "scene/objects/text_reveal.h"

#include <cmath>

#include "scene/text/text_node.h"

namespace cva {

void TextReveal::Reset() {
  paragraph_ = -1;
  count_ = 0;
  interval_ = timing_;
  pause_ = 0.0f;
  clock_ = 0.0f;
}

void TextReveal::Select(int32_t paragraph, const TextNode& text, const JumpSink& jump) {
  paragraph_ = paragraph;
  count_ = 0;
  if (const GlyphPlacement* first = text.PlacementAt(paragraph_, 0)) Run(first->commands, jump);
}

void TextReveal::Advance(float dt, const TextNode& text, const JumpSink& jump) {
  if (!std::isfinite(dt) || dt < 0.0f) dt = 0.0f;
  clock_ += dt;
  const int32_t glyphs = text.GlyphCount(paragraph_);
  // Every pass counts one glyph or returns, so the loop ends after at most `glyphs` passes.
  while (true) {
    if (count_ >= glyphs) {
      clock_ = 0.0f;
      return;
    }
    if (pause_ > 0.0f) {
      if (clock_ <= pause_) {
        pause_ -= clock_;
        clock_ = 0.0f;
        return;
      }
      clock_ -= pause_;
      pause_ = 0.0f;
    }
    if (interval_ > clock_) return;
    clock_ -= interval_;
    ++count_;
    const GlyphPlacement* next = text.PlacementAt(paragraph_, count_);
    if (!next) return;
    Run(next->commands, jump);
  }
}

void TextReveal::Run(const std::vector<TextCommand>& commands, const JumpSink& jump) {
  for (const TextCommand& command : commands) {
    switch (command.kind) {
      case TextCommand::Kind::kGlyphInterval:
        if (std::isfinite(command.value)) interval_ = timing_ / command.value;
        break;
      case TextCommand::Kind::kPause:
        if (std::isfinite(command.value)) pause_ = timing_ * command.value;
        break;
      case TextCommand::Kind::kJump:
        if (jump) jump(command.name);
        break;
    }
  }
}

}  // namespace cva
