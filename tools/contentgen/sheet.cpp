#include "sheet.h"

#include "canvas.h"

#include <algorithm>
#include <memory>

namespace contentgen {

namespace {
struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// "a.png+b.png" stacks b over a (a body and its weapon layer).
Surface LoadStack(const std::string& spec) {
    Surface base;
    std::size_t start = 0;
    while (start <= spec.size()) {
        const std::size_t plus = spec.find('+', start);
        const std::string file = spec.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        Surface s(cairo_image_surface_create_from_png(file.c_str()));
        if (cairo_surface_status(s.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
        if (!base) {
            base = std::move(s);
        } else {
            cairo_t* cr = cairo_create(base.get());
            cairo_set_source_surface(cr, s.get(), 0, 0);
            cairo_paint(cr);
            cairo_destroy(cr);
        }
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    return base;
}
}  // namespace

bool WriteContactSheet(const std::vector<std::vector<std::string>>& rows, const std::string& outPng, double scale) {
    std::vector<std::vector<Surface>> pics;
    int width = 0, height = 0;
    const int gap = 6;
    for (const auto& row : rows) {
        std::vector<Surface> line;
        int w = gap, h = 0;
        for (const std::string& file : row) {
            Surface s = LoadStack(file);
            if (!s) continue;
            w += static_cast<int>(cairo_image_surface_get_width(s.get()) * scale) + gap;
            h = std::max(h, static_cast<int>(cairo_image_surface_get_height(s.get()) * scale));
            line.push_back(std::move(s));
        }
        width = std::max(width, w);
        height += h + gap;
        pics.push_back(std::move(line));
    }
    Canvas sheet(std::max(width, 8), std::max(height + gap, 8));
    cairo_t* cr = sheet.cr();
    // Backdrops: sky, grass and stone in vertical bands, so every picture is
    // seen over the three grounds it will be drawn on.
    const Rgb bands[3] = {pal::kSky, pal::kGrass, pal::kStone};
    for (int i = 0; i < 3; ++i) {
        SetColor(cr, bands[i]);
        cairo_rectangle(cr, sheet.width() * i / 3.0, 0, sheet.width() / 3.0 + 1, sheet.height());
        cairo_fill(cr);
    }
    double y = gap;
    for (auto& line : pics) {
        double x = gap, h = 0;
        for (auto& s : line) {
            const double w = cairo_image_surface_get_width(s.get()) * scale;
            h = std::max(h, cairo_image_surface_get_height(s.get()) * scale);
            cairo_save(cr);
            cairo_translate(cr, x, y);
            cairo_scale(cr, scale, scale);
            cairo_set_source_surface(cr, s.get(), 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
            cairo_paint(cr);
            cairo_restore(cr);
            x += w + gap;
        }
        y += h + gap;
    }
    return sheet.SavePng(outPng);
}

}  // namespace contentgen
