// Writes a player settings record for the test players' resources.
//   make_settings OUT MODE WIDTH HEIGHT DOCUMENT LABEL STEP [files]
// MODE 0 window, 1 full screen, 2 ask; "files" reads named data from files, not the archive.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "player/player_settings.h"

int main(int argc, char** argv) {
  if (argc != 8 && argc != 9) {
    std::fputs("usage: make_settings OUT MODE WIDTH HEIGHT DOCUMENT LABEL STEP [files]\n", stderr);
    return 2;
  }
  cva::PlayerSettings settings;
  const auto mode = static_cast<cva::ScreenMode>(std::atoi(argv[2]));
  settings.width = std::atoi(argv[3]);
  settings.height = std::atoi(argv[4]);
  settings.document_name = cva::EncodedText::FromNarrow(argv[5]);
  settings.start_label = cva::EncodedText::FromNarrow(argv[6]);
  settings.step = std::atoi(argv[7]);
  settings.data_inside = argc == 8;
  const std::vector<uint8_t> record = cva::WriteSettingsRecord(settings, mode);
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(record.data()),
            static_cast<std::streamsize>(record.size()));
  return out ? 0 : 1;
}
