#pragma once
// The interface look: translucent dark panels with a light inner border and
// rounded corners, recessed wells for bars and slots, three-state buttons.

#include "canvas.h"
#include "output.h"

#include <string>

namespace contentgen {

// A panel filling (x, y, w, h): dark translucent body, light inner border.
void DrawPanel(cairo_t* cr, double x, double y, double w, double h, double radius, double fillAlpha = 0.82);
// A title strip across the top of a panel, with its caption centred.
void DrawTitleBar(cairo_t* cr, double x, double y, double w, double h, const std::string& caption);
// A recessed well (slot, bar track).
void DrawWell(cairo_t* cr, double x, double y, double w, double h, double radius);
// A bar fill of colour c with a glossy top highlight.
void DrawBarFill(cairo_t* cr, double x, double y, double w, double h, Rgb c, double radius);

enum class ButtonState { Normal, Hover, Pressed };
// A button face with a caption (may be empty) in one of its three states.
void DrawButton(cairo_t* cr, double w, double h, ButtonState state, const std::string& caption, double textSize,
                Rgb face = pal::kDusk);
// Writes "<folder>/1.png", "2.png", "3.png": normal, hover, pressed.
void WriteButton(Output& out, const std::string& folder, int w, int h, const std::string& caption, double textSize,
                 Rgb face = pal::kDusk);

}  // namespace contentgen
