#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "converter/headless_platform.h"
#include "converter/pack_list.h"
#include "converter/windows/converter_dialog.h"
#include "converter/windows/file_chooser.h"
#include "converter/windows/owned_message_services.h"
#include "scene/host/playback_host.h"

namespace cva {

// The converter program: its one modal dialog, which names a document, an output program and
// the settings of the player to generate, lists the document's start labels (loaded with the
// players' reader over the headless platform) and generates the player on "create".
class ConverterApp {
 public:
  ConverterApp();
  ~ConverterApp();

  // Runs the dialog until it is closed.
  void Run(HINSTANCE instance);

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Initialise(HWND window);
  void InitialiseControls();
  void Command(int id, int code);
  void Reload();
  bool CheckInput();
  void Generate();
  // The full path of `path`, relative paths taken from the converter's own folder.
  std::wstring FullPath(const std::u16string& path) const;

  HINSTANCE instance_ = nullptr;
  std::wstring folder_;  // the converter's own folder, ending in a separator
  OwnedMessageServices services_;
  std::unique_ptr<ConverterDialog> dialog_;
  PackList pack_list_;
  std::unique_ptr<HeadlessPlatform> platform_;
  std::unique_ptr<PlaybackHost> host_;
  std::vector<EncodedText> labels_;  // the list entries' texts, by their item data
  bool document_changed_ = false;
  FileChooser output_chooser_;
  FileChooser document_chooser_;
  FileChooser icon_chooser_;
};

}  // namespace cva
