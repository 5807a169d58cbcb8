// Deliberately wrong: the world may not see the interface above it. The
// build of this file must fail with "ui/hud.h" not found; a test checks that.
#include "ui/hud.h"

int WorldIncludesUi() { return 0; }
