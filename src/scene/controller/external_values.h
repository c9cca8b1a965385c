#pragma once

#include <cstdint>

namespace cva {

class EncodedText;
class SceneNode;

// Values that controller operands of type 5 read and write by name, kept outside the document
// (for instance by an embedding program). Without a provider they read as 0 and writes are
// dropped.
class ExternalValueProvider {
 public:
  virtual ~ExternalValueProvider() = default;
  virtual int32_t Read(const EncodedText& name, SceneNode& node) = 0;
  virtual void Write(const EncodedText& name, SceneNode& node, int32_t value) = 0;
};

// The process-wide provider (none at start). The caller keeps ownership and must clear it
// (pass null) before the provider goes away.
void SetExternalValueProvider(ExternalValueProvider* provider);
ExternalValueProvider* GetExternalValueProvider();

}  // namespace cva
