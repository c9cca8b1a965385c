// Works the converter's dialog from beside it, as a user would, and checks what it answers.
//   converter_driver TEMPLATES DOCUMENT INSIDE_EXE FILES_EXE SCR
// DOCUMENT is the warp fixture (label "default"); INSIDE_EXE, FILES_EXE and SCR are the
// players it generates: with the data inside, with the data in separate files (so it must lie
// beside the document), and a screen saver. Each generated program's resources are compared
// with those that the portable program-file editor (the Linux packer's) writes for the same
// inputs (templates from the folder TEMPLATES). Prints each step, and "shot" while the filled
// dialog stays for a picture; exit code 0 when every check
// held.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "converter/document_reload.h"
#include "converter/headless_platform.h"
#include "converter/pe/pe_resource_store.h"
#include "converter/player_generation.h"
#include "scene/host/playback_host.h"
#include "system/text_codec.h"

namespace {

constexpr DWORD kWaitMs = 20000;
int failures = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
  if (!ok) ++failures;
}

std::wstring Wide(const std::string& utf8) {
  const std::u16string units = cva::Utf8ToUtf16(utf8);
  return std::wstring(units.begin(), units.end());
}

std::string Utf8(const wchar_t* wide) {
  const std::wstring text(wide);
  return cva::Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

template <typename Find>
HWND WaitFor(Find find, DWORD ms = kWaitMs) {
  for (DWORD waited = 0; waited < ms; waited += 50) {
    if (HWND window = find()) return window;
    Sleep(50);
  }
  return nullptr;
}

HWND dialog = nullptr;
HWND Item(int id) {
  return GetDlgItem(dialog, id);
}

std::string TextOf(HWND window) {
  wchar_t buffer[1024] = {};
  SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer));
  return Utf8(buffer);
}

void SetText(int id, const std::string& text) {
  SendMessageW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

// Moves the keyboard focus inside the dialog, as Tab or a click would.
void Focus(int id) {
  PostMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
  Sleep(200);
}

void Click(int id) {
  PostMessageW(Item(id), BM_CLICK, 0, 0);
  Sleep(200);
}

// A visible message box (not the converter's own dialog); nothing after `ms`.
HWND MessageBoxShown(DWORD ms) {
  return WaitFor(
      [] {
        for (HWND w = FindWindowW(L"#32770", nullptr); w;
             w = FindWindowExW(nullptr, w, L"#32770", nullptr))
          if (w != dialog && IsWindowVisible(w) && GetDlgItem(w, 0xFFFF)) return w;
        return HWND{};
      },
      ms);
}

// Waits for a message box, checks its caption and text and closes it with OK.
void ExpectMessage(const std::string& caption, const std::string& text, const std::string& what) {
  HWND box = MessageBoxShown(kWaitMs);
  if (!box) return Check(false, what + ": no message box");
  const std::string shown_caption = TextOf(box), shown = TextOf(GetDlgItem(box, 0xFFFF));
  Check(shown_caption == caption && (text.empty() ? true : shown == text),
        what + ": \"" + shown_caption + "\" \"" + shown + "\"");
  PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  WaitFor([box] { return IsWindow(box) ? HWND{} : box; }, 5000);
}

void ExpectNoMessage(const std::string& what) {
  HWND box = MessageBoxShown(1000);
  Check(!box, what);
  if (box) PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

void Create() {
  Click(40005);
}

constexpr char kMissing[] = "未入力の必須項目があります";
constexpr char kRange[] = "範囲外の入力があります";
constexpr char kDone[] = "実行ファイル作成完了";

// Every resource of a program: (type, name, language) → bytes; names as text.
using Resources = std::map<std::tuple<std::wstring, std::wstring, WORD>, std::vector<uint8_t>>;

std::wstring NameOf(LPCWSTR name) {
  return IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<uintptr_t>(name))
                              : std::wstring(name);
}

Resources ReadResources(const std::string& path) {
  Resources all;
  HMODULE module = LoadLibraryExW(Wide(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return all;
  struct Walk {
    HMODULE module;
    Resources& all;
    LPCWSTR type;
    LPCWSTR name;
  } walk{module, all, nullptr, nullptr};
  EnumResourceTypesW(
      module,
      [](HMODULE m, LPWSTR type, LONG_PTR p) -> BOOL {
        auto& w = *reinterpret_cast<Walk*>(p);
        w.type = type;
        EnumResourceNamesW(
            m, type,
            [](HMODULE m, LPCWSTR type, LPWSTR name, LONG_PTR p) -> BOOL {
              auto& w = *reinterpret_cast<Walk*>(p);
              w.name = name;
              EnumResourceLanguagesW(
                  m, type, name,
                  [](HMODULE m, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR p) -> BOOL {
                    auto& w = *reinterpret_cast<Walk*>(p);
                    HRSRC found = FindResourceExW(m, type, name, language);
                    const auto* data =
                        static_cast<const uint8_t*>(LockResource(LoadResource(m, found)));
                    w.all[{NameOf(type), NameOf(name), language}] =
                        data ? std::vector<uint8_t>(data, data + SizeofResource(m, found))
                             : std::vector<uint8_t>();
                    return TRUE;
                  },
                  p);
              return TRUE;
            },
            p);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&walk));
  FreeLibrary(module);
  return all;
}

bool Has(const Resources& all, int type, int id, WORD language) {
  return all.count({L"#" + std::to_wstring(type), L"#" + std::to_wstring(id), language}) > 0;
}

// Generates the same player with the portable program-file editor and compares every
// resource of the two programs.
void CompareWithPacker(const std::string& made, const std::string& document,
                       const std::string& templates, bool inside, bool player) {
  cva::PackList pack_list;
  cva::HeadlessPlatform platform(pack_list);
  cva::PlaybackHost host(platform);
  const std::filesystem::path path(document);
  const cva::ReloadedDocument loaded =
      cva::ReloadDocument(host, pack_list, path.parent_path().string(),
                          cva::EncodedText::FromNarrow(path.filename().string()));
  cva::GenerationRequest request;
  request.template_path =
      (std::filesystem::path(templates) /
       cva::TemplateFileName(player ? cva::OutputKind::kPlayer : cva::OutputKind::kScreenSaver))
          .string();
  request.output_path = made + ".packer";
  request.document_path = document;
  request.start_label = loaded.labels.empty() ? cva::EncodedText() : loaded.labels.front();
  request.title = u"Warp";
  request.screen_mode = cva::ScreenMode::kWindow;
  request.settings.width = 800;
  request.settings.height = 600;
  request.settings.data_inside = inside;
  request.settings.fixed_step = true;
  request.settings.step = 17;
  const cva::GenerationResult result = cva::GeneratePlayer(
      request, pack_list, cva::pe::PeResourceStore::Open, [](const std::string&) {});
  Check(result.ok(), "the packer generates the same player: " + result.Describe());
  const Resources ours = ReadResources(made), packer = ReadResources(request.output_path);
  Check(!ours.empty() && ours == packer,
        made + ": the same " + std::to_string(ours.size()) + " resources as the packer's");
  Check(Has(ours, 10, 200, 1041) == inside, made + ": archive at 1041 exactly when inside");
  Check(Has(ours, 10, 200, 24415) && Has(ours, 10, 201, 24415) && Has(ours, 10, 201, 1041),
        made + ": the record at 1041 beside the placeholders");
  DeleteFileW(Wide(request.output_path).c_str());
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fputs("usage: converter_driver TEMPLATES DOCUMENT INSIDE_EXE FILES_EXE SCR\n", stderr);
    return 2;
  }
  const std::string templates = argv[1], document = argv[2], inside = argv[3], files = argv[4],
                    saver = argv[5];
  dialog = WaitFor([] {
    HWND w = FindWindowW(L"#32770", L"cvapack");
    return w && IsWindowVisible(w) ? w : nullptr;
  });
  if (!dialog) {
    std::puts("FAIL: no converter dialog");
    return 1;
  }
  Check(TextOf(Item(40018)) == "unknown" && TextOf(Item(1001)) == "Corvane Animation" &&
            TextOf(Item(40031)) == "800" && TextOf(Item(40032)) == "600" &&
            TextOf(Item(1003)) == "17" && !IsWindowEnabled(Item(1003)),
        "the controls' first texts, the step edit disabled");

  // The input check, rule by rule in its order.
  Create();
  ExpectMessage(kMissing, "実行ファイルを入力して下さい。", "no output");
  SetText(40026, inside);
  Create();
  ExpectMessage(kMissing, "Cvaファイルを入力して下さい。", "no document");

  // The document is loaded once when its edit is left after typing, and only then.
  const std::string missing = document.substr(0, document.find_last_of('\\') + 1) + "missing.cva";
  Focus(1002);
  SetText(1002, missing);
  ExpectNoMessage("typing without leaving loads nothing");
  Focus(1001);
  ExpectMessage("ロードの失敗", "missing.cvaが読み込めません。", "leaving after a change loads");
  ExpectNoMessage("and loads only once");
  Focus(1002);
  Focus(1001);
  ExpectNoMessage("entering and leaving without typing loads nothing");
  Focus(1002);
  SetText(1002, "Z:\\nowhere\\missing.cva");
  Focus(1001);
  ExpectMessage("ロードの失敗", "missing.cvaが読み込めません。", "a folder that does not exist");
  Create();
  ExpectMessage(kMissing, "開始アニメーションを選択して下さい。", "no start label");

  Focus(1002);
  SetText(1002, document);
  Focus(1001);
  HWND list = Item(40016);
  WaitFor([list] { return SendMessageW(list, LB_GETCOUNT, 0, 0) > 0 ? list : HWND{}; }, 5000);
  wchar_t label[64] = {};
  SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(label));
  Check(SendMessageW(list, LB_GETCOUNT, 0, 0) == 1 && Utf8(label) == "default" &&
            TextOf(Item(40031)) == "320" && TextOf(Item(40032)) == "240",
        "the document's labels listed and its stage size taken");
  SendMessageW(list, LB_SETCURSEL, 0, 0);
  SetText(40031, "0");
  Create();
  ExpectMessage(kRange, "解像度の幅、高さに０は指定できません。", "a width of 0");
  SetText(40031, "800");
  SetText(40032, "");
  Create();
  ExpectMessage(kRange, "解像度の幅、高さに０は指定できません。", "an empty height");
  SetText(40032, "600");
  Click(40027);
  Check(IsWindowEnabled(Item(1003)), "fixed pacing enables the step");
  SetText(1003, "");
  Create();
  ExpectMessage(kRange, "固定フレームを指定して下さい", "fixed pacing without a step");
  SetText(1003, "17");
  SetText(1001, "Warp");

  Create();
  ExpectMessage(kDone, "実行ファイルが作成されました。", "created with the data inside");
  CompareWithPacker(inside, document, templates, true, true);

  Click(40003);
  SetText(40026, files);
  Create();
  ExpectMessage(kDone, "実行ファイルが作成されました。", "created with separate files");
  CompareWithPacker(files, document, templates, false, true);

  // The screen-mode radios follow the output kind and keep their state.
  Click(40000);
  Check(!IsWindowEnabled(Item(40007)) && !IsWindowEnabled(Item(40010)) &&
            !IsWindowEnabled(Item(40011)) &&
            SendMessageW(Item(40007), BM_GETCHECK, 0, 0) == BST_CHECKED,
        "a screen saver disables the screen modes, which keep their state");
  SetText(40026, saver);
  Create();
  ExpectMessage(kDone, "実行ファイルが作成されました。", "a screen saver created");
  CompareWithPacker(saver, document, templates, false, false);
  Click(1006);
  Check(IsWindowEnabled(Item(40007)), "a player enables them again");

  // A failed generation says where and why, and leaves no output.
  const std::string unwritable = "Z:\\nowhere\\at\\all\\out.exe";
  SetText(40026, unwritable);
  Create();
  HWND box = MessageBoxShown(kWaitMs);
  const std::string text = box ? TextOf(GetDlgItem(box, 0xFFFF)) : "";
  Check(box && TextOf(box) == "実行ファイル作成失敗" &&
            text.find("copying the template") != std::string::npos,
        "an unwritable output is reported: " + text);
  if (box) PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  Sleep(300);
  Check(!Exists(unwritable), "and nothing is written");

  // The filled dialog stays a moment for a picture.
  std::puts("shot");
  std::fflush(stdout);
  Sleep(1500);
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  std::printf("%d failed\n", failures);
  return failures == 0 ? 0 : 1;
}
