#pragma once

// Where a provider's named data (documents, images) comes from. The players read files or the
// members of their archive, as their settings say; both read every byte at once, so the
// requests they return are complete.

#include <memory>

#include "document/open_data_request.h"
#include "stream/encoded_text.h"

namespace cva {

class LzpArchive;

class DataSource {
 public:
  virtual ~DataSource() = default;
  // The named bytes, or nullptr when the name cannot be opened (the source has then told the
  // user). A returned request may hold no bytes; the load that follows then fails.
  virtual std::unique_ptr<OpenDataRequest> OpenData(const EncodedText& name) = 0;
};

// Files relative to the current directory. A missing or unreadable file shows
// "<name>が読み込めません。" (caption "ロードの失敗") and gives no request.
class FileDataSource : public DataSource {
 public:
  std::unique_ptr<OpenDataRequest> OpenData(const EncodedText& name) override;
};

// Members of an archive, looked up by the name's narrow (code page 932) form. A missing or
// damaged member shows "<name>のロードができません" (caption "ロードの失敗") and gives a request
// without bytes, so the load that follows fails.
class ArchiveDataSource final : public DataSource {
 public:
  // `archive` (not owned) must outlive the source.
  explicit ArchiveDataSource(LzpArchive& archive) : archive_(archive) {}
  std::unique_ptr<OpenDataRequest> OpenData(const EncodedText& name) override;

 private:
  LzpArchive& archive_;
};

}  // namespace cva
