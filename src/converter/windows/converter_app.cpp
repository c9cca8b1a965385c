#include "converter/windows/converter_app.h"

#include <objbase.h>

#include <cstdio>
#include <string_view>

#include "converter/document_reload.h"
#include "converter/player_generation.h"
#include "converter/windows/converter_ids.h"
#include "converter/windows/windows_resource_store.h"
#include "system/text_codec.h"
#include "system/windows/program_folder.h"

namespace cva {
namespace {

using namespace std::string_literals;

constexpr DWORD kOpenFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
constexpr char kMissingCaption[] = "未入力の必須項目があります";
constexpr char kRangeCaption[] = "範囲外の入力があります";

std::string Narrow(const std::wstring& wide) {
  const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string narrow(size > 0 ? size : 1, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, narrow.data(), size, nullptr, nullptr);
  narrow.resize(narrow.size() - 1);
  return narrow;
}

std::string Utf8(std::wstring_view wide) {
  return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

}  // namespace

ConverterApp::ConverterApp()
    : services_(SystemServices()),
      output_chooser_(
          FileChooser::Kind::kSave,
          L"All files (*.*)\0*.*\0exe files (*.exe)\0*.exe\0scr files (*.scr)\0*.scr\0"s,
          L"出力実行ファイルの設定", 0, L"exe"),
      document_chooser_(FileChooser::Kind::kOpen, L"cva files (*.cva)\0*.cva\0"s,
                        L"cvaファイルの選択", kOpenFlags),
      icon_chooser_(FileChooser::Kind::kOpen, L"icon files (*.ico)\0*.ico\0"s, L"アイコンの選択",
                    kOpenFlags) {
  folder_ = ProgramFolder();
  SetSystemServices(&services_);
}

ConverterApp::~ConverterApp() {
  SetSystemServices(nullptr);
}

void ConverterApp::Run(HINSTANCE instance) {
  instance_ = instance;
  DialogBoxParamW(instance, MAKEINTRESOURCEW(CVA_CONVERTER_DIALOG), nullptr, Procedure,
                  reinterpret_cast<LPARAM>(this));
  pack_list_.Clear();
}

INT_PTR CALLBACK ConverterApp::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* app = reinterpret_cast<ConverterApp*>(GetWindowLongPtrW(window, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(window, DWLP_USER, lparam);
      reinterpret_cast<ConverterApp*>(lparam)->Initialise(window);
      return TRUE;
    case WM_DESTROY:
      if (app) {
        app->host_.reset();
        app->platform_.reset();
        app->services_.set_owner(nullptr);
        CoUninitialize();
      }
      return FALSE;
    case WM_COMMAND:
      if (app) app->Command(LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    default:
      return FALSE;
  }
}

void ConverterApp::Initialise(HWND window) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  dialog_ = std::make_unique<ConverterDialog>(window);
  services_.set_owner(window);
  InitialiseControls();
  platform_ = std::make_unique<HeadlessPlatform>(pack_list_);
  host_ = std::make_unique<PlaybackHost>(*platform_);
}

void ConverterApp::InitialiseControls() {
  HWND window = dialog_->window();
  HANDLE icon = LoadImageW(instance_, MAKEINTRESOURCEW(CVA_CONVERTER_ICON), IMAGE_ICON,
                           GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0);
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  for (int id : {CVA_ID_KIND_PLAYER, CVA_ID_DATA_INSIDE, CVA_ID_MODE_WINDOW, CVA_ID_PACING_REAL})
    dialog_->Check(id);
  dialog_->SetText(CVA_ID_AUTHOR, EncodedText::FromNarrow("unknown"));
  dialog_->SetText(CVA_ID_TITLE, EncodedText::FromNarrow("Corvane Animation"));
  dialog_->SetInteger(CVA_ID_WIDTH, 800);
  dialog_->SetInteger(CVA_ID_HEIGHT, 600);
  dialog_->SetInteger(CVA_ID_STEP, 17);
  dialog_->Enable(CVA_ID_STEP, false);
}

void ConverterApp::Command(int id, int code) {
  HWND window = dialog_->window();
  switch (id) {
    case IDOK:
    case IDCANCEL:
      EndDialog(window, id);
      break;
    case CVA_ID_DOCUMENT:
      // A typed path is loaded once, when the edit is left after a change.
      if (code == EN_CHANGE) {
        document_changed_ = true;
      } else if (code == EN_KILLFOCUS) {
        if (document_changed_) Reload();
        document_changed_ = false;
      } else if (code == EN_SETFOCUS) {
        document_changed_ = false;
      }
      break;
    case CVA_ID_KIND_PLAYER:
    case CVA_ID_KIND_SAVER:
      // Screen savers always play full screen; the radios keep their state for a later player.
      for (int mode : {CVA_ID_MODE_WINDOW, CVA_ID_MODE_ASK, CVA_ID_MODE_FULL})
        dialog_->Enable(mode, id == CVA_ID_KIND_PLAYER);
      break;
    case CVA_ID_CREATE:
      if (CheckInput()) Generate();
      break;
    case CVA_ID_CHOOSE_OUTPUT:
      output_chooser_.Run(window);
      SetWindowTextW(dialog_->Control(CVA_ID_OUTPUT), output_chooser_.path());
      break;
    case CVA_ID_CHOOSE_DOCUMENT:
      document_chooser_.Run(window);
      SetWindowTextW(dialog_->Control(CVA_ID_DOCUMENT), document_chooser_.path());
      Reload();
      document_changed_ = false;
      break;
    case CVA_ID_CHOOSE_ICON:
      icon_chooser_.Run(window);
      SetWindowTextW(dialog_->Control(CVA_ID_ICON), icon_chooser_.path());
      break;
    case CVA_ID_PACING_REAL:
    case CVA_ID_PACING_FIXED:
      dialog_->Enable(CVA_ID_STEP, id == CVA_ID_PACING_FIXED);
      break;
    default:
      break;
  }
}

std::wstring ConverterApp::FullPath(const std::u16string& path) const {
  std::wstring given(path.begin(), path.end());
  const std::wstring relative_to = folder_ + given;
  const bool relative =
      given.size() < 2 || (given[1] != L':' && given[0] != L'\\' && given[0] != L'/');
  const std::wstring& name = relative ? relative_to : given;
  wchar_t full[MAX_PATH * 4] = {};
  const DWORD length = GetFullPathNameW(name.c_str(), MAX_PATH * 4, full, nullptr);
  return length > 0 && length < MAX_PATH * 4 ? std::wstring(full, length) : name;
}

void ConverterApp::Reload() {
  const std::wstring path = FullPath(dialog_->Units(CVA_ID_DOCUMENT));
  const size_t split = path.find_last_of(L"\\/") + 1;
  const std::wstring name = path.substr(split);
  const std::wstring directory = path.substr(0, split);
  const EncodedText document =
      EncodedText::FromNarrow(Utf16ToCp932(std::u16string(name.begin(), name.end())));
  const ReloadedDocument loaded = ReloadDocument(*host_, pack_list_, Utf8(directory), document);
  // A folder that does not exist is reported as the reader reports a missing file; loading
  // from wherever the previous document was would find the wrong file or none.
  const DWORD attributes = GetFileAttributesW(directory.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    ShowOkMessage(dialog_->window(), Utf8(name) + "が読み込めません。", "ロードの失敗");

  HWND list = dialog_->Control(CVA_ID_LABELS);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  labels_ = loaded.labels;
  for (size_t i = 0; i < labels_.size(); ++i) {
    const EncodedText& label = labels_[i];
    const std::u16string units = label.encoding() == EncodedText::kUtf16
                                     ? label.Utf16Units()
                                     : Cp932ToUtf16(label.RawNarrow());
    const LRESULT at = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(units.c_str()));
    if (at >= 0) SendMessageW(list, LB_SETITEMDATA, at, static_cast<LPARAM>(i));
  }
  if (!loaded.loaded) return;
  dialog_->SetInteger(CVA_ID_WIDTH, loaded.width);
  dialog_->SetInteger(CVA_ID_HEIGHT, loaded.height);
}

bool ConverterApp::CheckInput() {
  HWND window = dialog_->window();
  const char* text = nullptr;
  const char* caption = kMissingCaption;
  if (dialog_->Empty(CVA_ID_OUTPUT)) {
    text = "実行ファイルを入力して下さい。";
  } else if (dialog_->Empty(CVA_ID_DOCUMENT)) {
    text = "Cvaファイルを入力して下さい。";
  } else if (SendMessageW(dialog_->Control(CVA_ID_LABELS), LB_GETCURSEL, 0, 0) == LB_ERR) {
    text = "開始アニメーションを選択して下さい。";
  } else if (dialog_->Integer(CVA_ID_WIDTH) == 0 || dialog_->Integer(CVA_ID_HEIGHT) == 0) {
    text = "解像度の幅、高さに０は指定できません。";
    caption = kRangeCaption;
  } else if (!dialog_->Checked(CVA_ID_PACING_REAL) && dialog_->Empty(CVA_ID_STEP)) {
    text = "固定フレームを指定して下さい";
    caption = kRangeCaption;
  }
  if (text) ShowOkMessage(window, text, caption);
  return text == nullptr;
}

void ConverterApp::Generate() {
  HWND window = dialog_->window();
  const bool player = dialog_->Checked(CVA_ID_KIND_PLAYER);
  GenerationRequest request;
  request.template_path =
      TemplateBeside(Narrow(folder_), player ? OutputKind::kPlayer : OutputKind::kScreenSaver);
  request.output_path = Narrow(FullPath(dialog_->Units(CVA_ID_OUTPUT)));

  const LRESULT selected = SendMessageW(dialog_->Control(CVA_ID_LABELS), LB_GETCURSEL, 0, 0);
  const LRESULT item = SendMessageW(dialog_->Control(CVA_ID_LABELS), LB_GETITEMDATA, selected, 0);
  if (item >= 0 && static_cast<size_t>(item) < labels_.size()) request.start_label = labels_[item];

  request.title = dialog_->Units(CVA_ID_TITLE);
  // An icon path that names no file, or a directory, leaves the template's icons.
  if (!dialog_->Empty(CVA_ID_ICON)) {
    const std::wstring icon = FullPath(dialog_->Units(CVA_ID_ICON));
    const DWORD attributes = GetFileAttributesW(icon.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
      request.icon_path = Narrow(icon);
  }
  PlayerSettings& settings = request.settings;
  settings.author = dialog_->Text(CVA_ID_AUTHOR);
  settings.width = dialog_->Integer(CVA_ID_WIDTH);
  settings.height = dialog_->Integer(CVA_ID_HEIGHT);
  request.document_path = Narrow(FullPath(dialog_->Units(CVA_ID_DOCUMENT)));
  request.screen_mode = dialog_->Checked(CVA_ID_MODE_WINDOW) ? ScreenMode::kWindow
                        : dialog_->Checked(CVA_ID_MODE_ASK)  ? ScreenMode::kAsk
                                                             : ScreenMode::kFullScreen;
  settings.data_inside = dialog_->Checked(CVA_ID_DATA_INSIDE);
  settings.fixed_step = !dialog_->Checked(CVA_ID_PACING_REAL);
  settings.step = dialog_->Integer(CVA_ID_STEP);

  const GenerationResult result =
      GeneratePlayer(request, pack_list_, WindowsResourceStore::Open,
                     [](const std::string& line) { std::fputs(line.c_str(), stdout); });
  std::fflush(stdout);
  if (result.ok()) {
    ShowOkMessage(window, "実行ファイルが作成されました。", "実行ファイル作成完了");
  } else {
    ShowOkMessage(window, "実行ファイルを作成できませんでした。\n" + result.Describe(),
                  "実行ファイル作成失敗");
  }
}

}  // namespace cva
