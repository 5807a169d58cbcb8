#pragma once
// Held props: weapons a rig can carry. Each is drawn from its grip point
// along a canvas angle (radians from +x), so any figure's hand can hold it.

#include "canvas.h"
#include "rig.h"

namespace contentgen {

// A straw broom: the grip sits near the butt, the bristles at the far end.
// Returns the centre of the bristles (where a swing's impact is drawn).
Point DrawBroom(cairo_t* cr, Point grip, double angle, double alpha = 1.0);

// The bright crescent a fast swing leaves: an arc around `pivot` at
// `radius`, from canvas angle a0 to a1 (radians), strongest at a1.
void DrawSwingSmear(cairo_t* cr, Point pivot, double radius, double a0, double a1, double strength);

// A canvas angle (radians from +x) for a rig angle (degrees, 0 down, + forward).
double CanvasAngle(double rigDegrees);

}  // namespace contentgen
