// The portable loops, a pixel a step: what runs where no vector set is
// built in, and the rule the vector sets' loops are tested against.
#define PIXELS_TARGET
#include "pixels/kernels.h"

namespace platform::pixels {

extern const LoopSet kPortableLoops = MakeLoopSet<PortableVector>(VectorSet::Portable);

} // namespace platform::pixels
