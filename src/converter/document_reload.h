#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "converter/pack_list.h"
#include "stream/encoded_text.h"

namespace cva {

class PlaybackHost;

// What the converter learns from loading a document: its start labels, its stage size and
// text encoding; the files it fetched are in the pack list.
struct ReloadedDocument {
  bool loaded = false;
  std::string failure;  // the loader's reason when it failed and gave one
  std::vector<EncodedText> labels;
  int32_t width = 0;  // the stage size, truncated toward zero
  int32_t height = 0;
  int32_t encoding = EncodedText::kShiftJis;
};

// Loads document `name` from `directory` over the host (whose provider is the converter's
// headless platform): the host's document and the pack list are cleared, the current
// directory becomes `directory` (when not empty), and the host is stepped with zero time
// until the document is current or its load has failed, so that the pack list holds every
// file the reader fetched, in fetch order. The pack list keeps the document's encoding.
ReloadedDocument ReloadDocument(PlaybackHost& host, PackList& pack_list,
                                const std::string& directory, const EncodedText& name);

}  // namespace cva
