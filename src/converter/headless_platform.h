#pragma once

#include <memory>

#include "converter/pack_list.h"
#include "document/composed_provider.h"

namespace cva {

// Named data from files, recording each document (a name ending exactly in ".cva") in the
// pack list when it is opened.
class PackedFileSource final : public FileDataSource {
 public:
  explicit PackedFileSource(PackList& pack_list) : pack_list_(pack_list) {}
  std::unique_ptr<OpenDataRequest> OpenData(const EncodedText& name) override;

 private:
  PackList& pack_list_;
};

// Graphics that draw nothing, whose images record their file in the pack list when they load.
class PackedImageGraphics final : public InertGraphics {
 public:
  explicit PackedImageGraphics(PackList& pack_list) : pack_list_(pack_list) {}
  std::unique_ptr<ImageResource> CreateImageResource(ResourceProvider& owner,
                                                     const EncodedText& name) override;

 private:
  PackList& pack_list_;
};

// The converter's resource provider: it loads documents with the players' reader but draws
// and plays nothing. Named data is read from files relative to the current directory, and
// the files that belong to the document are recorded in the pack list: documents when they
// are opened, images when they load. Sounds are recorded nowhere, since players always read
// them from beside themselves.
class HeadlessPlatform final : public ComposedProvider {
 public:
  explicit HeadlessPlatform(PackList& pack_list);

  PackList& pack_list() const { return pack_list_; }

 private:
  PackList& pack_list_;
  PackedFileSource files_{pack_list_};
  PackedImageGraphics graphics_{pack_list_};
};

}  // namespace cva
