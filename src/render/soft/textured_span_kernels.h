#pragma once

// The implementations behind DrawTexturedSpanOver.

#include <cstdint>

#include "render/soft/textured_span.h"

namespace cva {

// Pixel k of the span with the general path's interpolation, texel addressing and the
// integer blend: the reference every other implementation must match.
void DrawTexturedPixelPortable(const TexturedSpan& span, int32_t k, uint8_t* dest);

#if defined(__x86_64__) || defined(__i386__)
#define CVA_SPAN_AVX2 1
// Needs a processor with AVX2.
void DrawTexturedSpanAvx2(const TexturedSpan& span, int32_t count, uint8_t* dest);
#endif

}  // namespace cva
