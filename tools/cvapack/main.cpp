// cvapack: makes a stand-alone player or screen saver from a ".cva" document on systems
// without the Win32 resource calls, with the converter's own reload, record and archive code.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "capturing_services.h"
#include "command_line.h"
#include "converter/document_reload.h"
#include "converter/headless_platform.h"
#include "converter/local_names.h"
#include "converter/pe/pe_resource_store.h"
#include "converter/player_generation.h"
#include "file_io.h"
#include "player_inspection.h"
#include "scene/host/playback_host.h"
#include "stream/text_conversion.h"
#include "system/services.h"
#include "system/text_codec.h"
#include "template_search.h"

namespace fs = std::filesystem;
using namespace cva;

namespace {

int Fail(const std::string& text) {
  std::fprintf(stderr, "cvapack: %s\n", text.c_str());
  return 1;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The template named on the command line, or the first one found where cvapack looks.
bool FindTemplate(const std::string& given, OutputKind kind, std::string& path,
                  std::string& error) {
  std::vector<std::string> candidates =
      given.empty() ? pack_tool::TemplateCandidates(kind) : std::vector<std::string>{given};
  std::error_code ignored;
  for (const std::string& candidate : candidates) {
    if (fs::is_regular_file(candidate, ignored)) {
      path = fs::absolute(candidate, ignored).string();
      return true;
    }
  }
  error = std::string("no template ") + TemplateFileName(kind) + ": looked for";
  for (const std::string& candidate : candidates) error += "\n  " + candidate;
  if (given.empty() && kind == OutputKind::kPlayer)
    error +=
        "\n  (build it with: cmake --preset windows && cmake --build --preset windows "
        "--target cvaplay)";
  return false;
}

// cvapack inspect PLAYER: prints what a generated player or a template carries as JSON.
int Inspect(const std::vector<std::string>& args) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    std::fprintf(stderr, "cvapack: inspect takes one program file\n%s", pack_tool::kUsage);
    return 2;
  }
  const std::string& path = args[0];
  std::string contents, why;
  if (!json::ReadWholeFile(path, contents, why)) return Fail("cannot read '" + path + "': " + why);
  const pack_tool::Inspection inspection =
      pack_tool::InspectPlayer(std::vector<uint8_t>(contents.begin(), contents.end()));
  if (!inspection.ok) return Fail(path + ": " + inspection.error);
  const std::string text =
      inspection.json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
    return Fail("cannot write to standard output");
  for (const std::string& problem : inspection.problems)
    std::fprintf(stderr, "cvapack: %s: %s\n", path.c_str(), problem.c_str());
  return inspection.problems.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  SetProgramName("cvapack");
  if (argc > 1 && std::string(argv[1]) == "inspect")
    return Inspect(std::vector<std::string>(argv + 2, argv + argc));
  pack_tool::CommandLine line;
  std::string error;
  if (!pack_tool::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), line, error)) {
    std::fprintf(stderr, "cvapack: %s\n%s", error.c_str(), pack_tool::kUsage);
    return 2;
  }
  if (line.help) {
    std::fputs(pack_tool::kUsage, stdout);
    return 0;
  }
  const std::string extension = Lower(fs::path(line.output).extension().string());
  if (extension != ".exe" && extension != ".scr")
    return Fail("the output must end in .exe (a player) or .scr (a screen saver)");
  const OutputKind kind = extension == ".exe" ? OutputKind::kPlayer : OutputKind::kScreenSaver;
  GenerationRequest request;
  if (!FindTemplate(line.template_file, kind, request.template_path, error)) return Fail(error);

  // Loading the document moves into its directory: every other path is made absolute first.
  std::error_code fs_error;
  const fs::path document = fs::absolute(line.document, fs_error);
  request.document_path = document.string();
  request.output_path = fs::absolute(line.output, fs_error).string();
  if (!line.icon.empty()) request.icon_path = fs::absolute(line.icon, fs_error).string();

  session::CapturingServices services;  // the reader's message boxes become lines here
  PackList pack_list;
  HeadlessPlatform platform(pack_list);
  PlaybackHost host(platform);
  const ReloadedDocument loaded =
      ReloadDocument(host, pack_list, document.parent_path().string(),
                     EncodedText::FromNarrow(NarrowFileName(document.filename().string())));
  for (const auto& message : services.TakeMessages())
    std::fprintf(stderr, "cvapack: %s: %s\n", message.caption.c_str(), message.text.c_str());
  if (!loaded.loaded) return Fail("cannot load " + line.document + ": " + loaded.failure);

  const std::string label = line.label.value_or("default");
  auto chosen = std::find_if(loaded.labels.begin(), loaded.labels.end(),
                             [&](const EncodedText& name) { return ToUtf8(name) == label; });
  if (chosen == loaded.labels.end()) {
    std::string names;
    for (const EncodedText& name : loaded.labels) names += " \"" + ToUtf8(name) + "\"";
    return Fail("the document has no label \"" + label +
                "\"; its labels:" + (names.empty() ? " none" : names));
  }
  request.start_label = *chosen;

  const auto [width, height] = line.size.value_or(std::pair{loaded.width, loaded.height});
  if (width <= 0 || height <= 0)
    return Fail("the stage size " + std::to_string(width) + "x" + std::to_string(height) +
                " cannot be used: give --size WxH");
  request.title = Utf8ToUtf16(line.title);
  if (request.title.size() >= 0xFFFF) return Fail("the title is too long");
  request.screen_mode = line.screen_mode;
  request.settings.width = width;
  request.settings.height = height;
  request.settings.data_inside = line.data_inside;
  request.settings.fixed_step = line.fixed_step;
  request.settings.step = line.step;

  const GenerationResult result =
      GeneratePlayer(request, pack_list, pe::PeResourceStore::Open,
                     [](const std::string& text) { std::fputs(text.c_str(), stdout); });
  std::fflush(stdout);
  if (!result.ok()) return Fail(result.Describe());
  std::fprintf(stderr, "cvapack: wrote %s\n", line.output.c_str());
  if (!line.data_inside) {
    std::string names;
    for (const std::string& name : pack_list.names()) names += " " + LocalFileName(name);
    std::fprintf(stderr, "cvapack: the player reads these files from its own folder:%s\n",
                 names.c_str());
  }
  return 0;
}
