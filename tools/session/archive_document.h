#pragma once

#include <string>

namespace cva {
class LzpArchive;
}

namespace cva::session {

// The document an archive given to a tool is played from: the member named like the archive
// file with ".cva" (`stem` is the archive's file name without its extension), or else its only
// ".cva" member. Empty with `error` when there is neither.
std::string ArchiveDocument(const LzpArchive& archive, const std::string& stem, std::string& error);

}  // namespace cva::session
