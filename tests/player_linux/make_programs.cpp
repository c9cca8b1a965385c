// Writes the two small programs the player window's check needs: a player template with the
// placeholders a real one holds (cvapack makes a player of it), and a program with no resources.
#include <cstdio>
#include <fstream>

#include "converter/small_program.h"

namespace {

bool Write(const char* path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_programs TEMPLATE.exe BARE.exe\n");
    return 2;
  }
  using namespace cva::testing;
  return Write(argv[1], SmallProgram(TemplateResources())) && Write(argv[2], SmallProgram({})) ? 0
                                                                                               : 1;
}
