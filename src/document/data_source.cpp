#include "document/data_source.h"

#include "archive/lzp_archive.h"
#include "stream/text_conversion.h"
#include "system/services.h"

namespace cva {

std::unique_ptr<OpenDataRequest> FileDataSource::OpenData(const EncodedText& name) {
  Services& services = SystemServices();
  std::vector<uint8_t> bytes;
  // A file that exists but cannot be read is reported like a missing one rather than handed
  // on as empty data.
  if (!services.FileExists(name) || !services.ReadFile(name, bytes)) {
    services.ShowMessage(ToUtf8(name) + "が読み込めません。", "ロードの失敗",
                         Services::Buttons::kOk);
    return nullptr;
  }
  return std::make_unique<CompleteDataRequest>(std::move(bytes));
}

std::unique_ptr<OpenDataRequest> ArchiveDataSource::OpenData(const EncodedText& name) {
  auto request = std::make_unique<CompleteDataRequest>();
  if (!archive_.OpenMember(ToNarrow(name), request->Bytes()))
    SystemServices().ShowMessage(ToUtf8(name) + "のロードができません", "ロードの失敗",
                                 Services::Buttons::kOk);
  return request;
}

}  // namespace cva
