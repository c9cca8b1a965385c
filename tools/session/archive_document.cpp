#include "archive_document.h"

#include <algorithm>
#include <vector>

#include "archive/lzp_archive.h"

namespace cva::session {
namespace {

bool EndsWithCva(const std::string& name) {
  return name.size() > 4 && (name.compare(name.size() - 4, 4, ".cva") == 0 ||
                             name.compare(name.size() - 4, 4, ".CVA") == 0);
}

}  // namespace

std::string ArchiveDocument(const LzpArchive& archive, const std::string& stem,
                            std::string& error) {
  const std::string wanted = stem + ".cva";
  std::vector<std::string> documents;
  for (const LzpArchive::Entry& entry : archive.entries()) {
    if (entry.name == wanted) return wanted;
    if (EndsWithCva(entry.name) &&
        std::find(documents.begin(), documents.end(), entry.name) == documents.end())
      documents.push_back(entry.name);
  }
  if (documents.size() == 1) return documents.front();
  error = documents.empty()
              ? "the archive holds no .cva document"
              : "the archive holds no '" + wanted + "' and more than one .cva document";
  return {};
}

}  // namespace cva::session
