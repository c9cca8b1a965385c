#include "template_search.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace cva::pack_tool {

std::vector<std::string> TemplateCandidates(OutputKind kind) {
  const std::string name = TemplateFileName(kind);
  std::vector<std::string> candidates;
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (!error) {
    candidates.push_back(TemplateBeside(self.parent_path().string(), kind));
    candidates.push_back(
        (self.parent_path().parent_path() / "share" / "cva" / "data" / name).string());
  }
  candidates.push_back((fs::path(CVA_WINDOWS_DATA_DIR) / name).string());
  return candidates;
}

}  // namespace cva::pack_tool
