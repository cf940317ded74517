// What the figures were measured on: the processor, and the choices the
// program made on it at run time.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

// The processor's own name for itself, with its family and model numbers
// (a virtual machine may call a whole generation by one name).
std::string ProcessorName();
// The widest vector set the pixel loops use here: "SSE2", "AVX2", "AVX-512".
const char* VectorSetName();
// Holds the pixel loops to "sse2", "avx2" or "avx512", so that one machine
// can measure each set it has. False for another name or a set this
// processor lacks.
bool UseVectorSet(const std::string& name);
// The store kind the presentation of `bytes` settled on ("ordinary",
// "streaming"), or "undecided" while it is still trying both.
const char* StoreKindName(size_t bytes);

} // namespace bench
