#pragma once

namespace cva {

// Sine, cosine and arctangent of floats computed by the engine itself, in double arithmetic
// with polynomials and exact argument reduction, so that every build gives the same bits: the
// C runtimes of Linux and Windows return different last bits for sinf, cosf and atan2f, and a
// last bit in a world matrix can move an edge pixel or flip a hit test. Results are within
// one unit in the last place of the exact value (nearly always the correctly rounded float).
//
// NaN and infinite arguments give NaN for Sin and Cos; Atan2 follows the C rules for zeros,
// infinities and NaN.
struct SineCosine {
  float sine;
  float cosine;
};

// Both from one argument reduction: what a rotation needs.
SineCosine SinAndCos(float radians);
float Sin(float radians);
float Cos(float radians);
float Atan2(float y, float x);

}  // namespace cva
