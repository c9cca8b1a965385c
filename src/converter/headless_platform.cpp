#include "converter/headless_platform.h"

#include <string_view>

#include "stream/text_conversion.h"

namespace cva {
namespace {

// Decodes nothing; loading it records the image's file for packing.
class PackedImage final : public InertImage {
 public:
  PackedImage(ResourceProvider& owner, EncodedText name, PackList& pack_list)
      : InertImage(owner, std::move(name)), pack_list_(pack_list) {}

 protected:
  LoadResult Load(std::vector<uint8_t>&) override {
    pack_list_.Add(ToNarrow(name()));
    return kLoaded;
  }

 private:
  PackList& pack_list_;
};

}  // namespace

std::unique_ptr<OpenDataRequest> PackedFileSource::OpenData(const EncodedText& name) {
  std::unique_ptr<OpenDataRequest> request = FileDataSource::OpenData(name);
  if (!request) return nullptr;
  const std::string narrow = ToNarrow(name);
  if (std::string_view(narrow).ends_with(".cva")) pack_list_.Add(narrow);
  return request;
}

std::unique_ptr<ImageResource> PackedImageGraphics::CreateImageResource(ResourceProvider& owner,
                                                                        const EncodedText& name) {
  return std::make_unique<PackedImage>(owner, name, pack_list_);
}

HeadlessPlatform::HeadlessPlatform(PackList& pack_list) : pack_list_(pack_list) {
  SetDataSource(files_);
  SetGraphics(graphics_);
  set_debug_output(false);  // nothing is shown, not even to a debugger
}

}  // namespace cva
