#include "scene/controller/external_values.h"

namespace cva {
namespace {

ExternalValueProvider* g_provider = nullptr;

}  // namespace

void SetExternalValueProvider(ExternalValueProvider* provider) {
  g_provider = provider;
}

ExternalValueProvider* GetExternalValueProvider() {
  return g_provider;
}

}  // namespace cva
