#pragma once
// The town tune: a calm loop whose end flows back into its start.

#include "audio.h"

namespace contentgen {

// About 29 s at 22050 Hz; the release of the last notes is folded back
// onto the beginning, so the loop has no seam.
Sound TownTune();

}  // namespace contentgen
