#pragma once
// A transparent ARGB picture with a cairo context, and the shape helpers
// every theme draws with: shaded and outlined fills, glows, rounded boxes
// and outlined text.

#include "palette.h"

#include <cairo.h>

#include <string>

namespace contentgen {

struct Point {
    double x = 0, y = 0;
};

class Canvas {
public:
    // A fully transparent w x h picture (both at least 1).
    Canvas(int w, int h);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    Canvas(Canvas&& other) noexcept;
    Canvas& operator=(Canvas&&) = delete;

    cairo_t* cr() const { return m_cr; }
    cairo_surface_t* surface() const { return m_surface; }
    int width() const { return m_w; }
    int height() const { return m_h; }

    // Multiplies every pixel's alpha by `alpha` (0..1): fades a finished frame.
    void Fade(double alpha);
    // Draws `other` at (x, y), scaled by `scale`, with an overall alpha.
    void Paste(const Canvas& other, double x, double y, double scale = 1.0, double alpha = 1.0);
    // Writes the picture as PNG; false when the file cannot be written.
    bool SavePng(const std::string& utf8Path) const;

private:
    int m_w, m_h;
    cairo_surface_t* m_surface;
    cairo_t* m_cr;
};

// Colour arithmetic.
Rgb Mix(Rgb a, Rgb b, double t);
Rgb Darker(Rgb c, double amount);   // toward black by amount (0..1)
Rgb Lighter(Rgb c, double amount);  // toward white by amount (0..1)
void SetColor(cairo_t* cr, Rgb c, double alpha = 1.0);

// Path builders (they add to the current path, nothing is drawn).
void RoundedRectPath(cairo_t* cr, double x, double y, double w, double h, double r);
void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry);
// A limb: the rounded stroke outline from (x0, y0) to (x1, y1), `w` thick.
void CapsulePath(cairo_t* cr, double x0, double y0, double x1, double y1, double w);
// A star with `points` tips between inner and outer radius, first tip at `rot` rad.
void StarPath(cairo_t* cr, double cx, double cy, double rOuter, double rInner, int points, double rot);

// Fills the current path in the house style and clears it: soft two-tone
// shading lit from the top left, then a 2 px outline in a darker shade of
// the same colour. `alpha` applies to both.
void ShadedFill(cairo_t* cr, Rgb base, double alpha = 1.0, double outline = 2.0);
// Like ShadedFill with a flat fill (small details where shading is noise).
void FlatFill(cairo_t* cr, Rgb base, double alpha = 1.0, double outline = 2.0);

// Additive radial glow: bright centre fading to nothing at `radius`.
void Glow(cairo_t* cr, double cx, double cy, double radius, Rgb c, double intensity);
// Additive line of light with a soft halo (bolts, streaks).
void GlowLine(cairo_t* cr, double x0, double y0, double x1, double y1, double width, Rgb c, double intensity);

// Text with a dark outline, centred on (cx, cy) when `centre` is set,
// otherwise with its baseline start at (cx, cy). `face` is a fontconfig name.
void OutlinedText(cairo_t* cr, const std::string& utf8, double cx, double cy, double size, Rgb fill,
                  Rgb outline, double outlineWidth, bool centre = true, const char* face = "WenQuanYi Micro Hei",
                  bool bold = true);

inline constexpr double kPi = 3.14159265358979323846;
inline double Rad(double degrees) { return degrees * kPi / 180.0; }

}  // namespace contentgen
