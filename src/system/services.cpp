#include "system/services.h"

namespace cva {

Services& PlatformServices();  // defined by the platform's implementation

namespace {
Services* g_installed = nullptr;
std::string& ProgramNameStorage() {
  static std::string name = "cva";
  return name;
}
}  // namespace

Services& SystemServices() {
  return g_installed ? *g_installed : PlatformServices();
}
void SetSystemServices(Services* services) {
  g_installed = services;
}

const std::string& ProgramName() {
  return ProgramNameStorage();
}
void SetProgramName(std::string name) {
  ProgramNameStorage() = std::move(name);
}

}  // namespace cva
