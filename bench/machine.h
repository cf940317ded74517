// What the figures were measured on: the processor, and the choices the
// program made on it at run time.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

// The processor's own name for itself, with its family and model numbers
// (a virtual machine may call a whole generation by one name).
std::string ProcessorName();
// The vector set and store method the 32-bit or 16-bit pixel loops use:
// "AVX-512", "masked".
const char* VectorSetName(int bytesPerPixel);
const char* KeyedStoresName(int bytesPerPixel);
// What was chosen at run time, for the first line of a report: the loops of
// each pixel size, how long their trial took, and the presentations' stores.
std::string ChosenMethods();
// Each candidate's time in the loops' trials.
std::string LoopTrialTimes();

// Hold the pixel loops to a vector set ("portable", "sse2", "avx2",
// "avx512"), a store method ("masked", "blend") or the presentations to a
// store kind ("ordinary", "streaming"), so that one machine can take each
// path another machine's trials would choose. False for another name or a
// set this processor lacks.
bool UseVectorSet(const std::string& name);
bool UseStoreMethod(const std::string& name);
bool UsePresentationStores(const std::string& name);

// The store kind the presentation of `bytes` settled on ("ordinary",
// "streaming"), or "undecided" while it is still trying both.
const char* ChosenPresentationStoresName(size_t bytes);

} // namespace bench
