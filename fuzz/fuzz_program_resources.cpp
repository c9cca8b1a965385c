// Program files as the Linux packer reads its templates: headers, section table and resource
// directory must be refused or read without reading out of bounds, and what was read must
// write back.
#include <cstddef>
#include <cstdint>

#include "converter/pe/pe_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cva::pe::PeImage image;
  cva::pe::ResourceTree tree;
  if (image.Parse(std::vector<uint8_t>(data, data + size)) && image.ReadResources(tree))
    image.WriteResources(tree);
  return 0;
}
