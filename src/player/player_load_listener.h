#pragma once

#include <string>
#include <utility>

#include "scene/host/load_listener.h"
#include "stream/encoded_text.h"

namespace cva {

class ClearColourTarget;

// The player's answer to its start document having loaded: the stage's clear colour becomes
// the document's opaque background, and a start label the document does not have is reported
// to the user in a message box (playback goes on).
class PlayerLoadListener final : public LoadListener {
 public:
  // `target` must outlive the listener; `start_label` is the label name of the settings.
  PlayerLoadListener(ClearColourTarget& target, EncodedText start_label)
      : target_(target), start_label_(std::move(start_label)) {}

  void DocumentLoaded(Document& document) override;
  // The label the next start document is checked for.
  void set_start_label(EncodedText label) { start_label_ = std::move(label); }

 private:
  ClearColourTarget& target_;
  EncodedText start_label_;
};

// Caption of the message box that reports a missing start label.
inline constexpr const char* kMissingLabelCaption = "アニメーションリクエスト失敗";

// The text of that message box: the label's encoding, its readable form with its stored byte
// length, its stored bytes in hexadecimal (16 to a line), and the statement that the
// animation does not contain it.
std::string MissingLabelText(const EncodedText& label);

}  // namespace cva
