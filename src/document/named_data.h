#pragma once

#include <memory>

#include "archive/lzp_archive.h"
#include "document/open_data_request.h"
#include "stream/encoded_text.h"

namespace cva {

// Where the players' named data (documents, images) comes from. Both read every byte at once,
// so the request they return is complete.

// A file relative to the current directory. A missing or unreadable file shows
// "<name>が読み込めません。" (caption "ロードの失敗") and gives no request.
std::unique_ptr<OpenDataRequest> OpenFileData(const EncodedText& name);

// A member of the archive, looked up by the name's narrow (code page 932) form. A missing or
// damaged member shows "<name>のロードができません" (caption "ロードの失敗") and gives a request
// without bytes, so the load that follows fails.
std::unique_ptr<OpenDataRequest> OpenArchiveData(LzpArchive& archive, const EncodedText& name);

}  // namespace cva
