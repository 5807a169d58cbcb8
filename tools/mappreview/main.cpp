// mappreview: draws a map file into one PNG, to look at a map without the game.
//
//   mappreview MAP.Wdm OUT.png DATADIR [--boxes] [--view X]
//
// Without --view the whole map is drawn, every layer at its own map position
// (no parallax) over the background picture repeated across the width. With
// --view X the picture is the 800 x 600 screen the game shows when the camera
// centre is at map x = X: the background unscrolled, the far and floating
// layers at 4/5 of the map's scroll, the second background at 9/10, the top
// layer at 6/5. --boxes outlines the grounds, stairs and events. Map
// animations and portals are drawn with the first frame of their effect.

#include "shared/gbk.h"
#include "shared/paths.h"
#include "shared/wdm_map.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

// Folder names of the effect library, by effect number.
const char* const kEffects[21] = {"",       "特效1",   "特效2",    "传送门",   "命中",    "光明祈福", "毁灭之颂歌",
                                  "小鸟2",  "小鸟",    "旗子",     "蝴蝶",     "按右_小", "按左_小",  "按上_小",
                                  "蝴蝶2",  "远程魔法1", "闪电",   "蓝光魔法", "绿色泡泡", "中毒",   "诅咒"};

class Pictures {
public:
    explicit Pictures(std::string dataDir) : m_paths(std::string(), std::move(dataDir)) {}
    ~Pictures() {
        for (auto& [path, s] : m_cache) {
            if (s) cairo_surface_destroy(s);
        }
    }
    // The picture of a "\data\..." GBK path, or null when it cannot be read.
    cairo_surface_t* Get(const std::string& gbkPath) {
        auto it = m_cache.find(gbkPath);
        if (it != m_cache.end()) return it->second;
        cairo_surface_t* s = cairo_image_surface_create_from_png(m_paths.Resolve(gbkPath).c_str());
        if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
            std::fprintf(stderr, "mappreview: cannot read %s\n", gbk::ToUtf8(gbkPath).c_str());
            cairo_surface_destroy(s);
            s = nullptr;
        }
        m_cache[gbkPath] = s;
        return s;
    }

private:
    paths::DataPaths m_paths;
    std::map<std::string, cairo_surface_t*> m_cache;
};

// Draws the (0, 0, w, h) part of a picture at (x, y), mirrored left-right
// about its own box when asked (as the game does).
void DrawSprite(cairo_t* cr, cairo_surface_t* pic, double x, double y, int w, int h, bool mirrored) {
    if (!pic) return;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    if (mirrored) {
        cairo_translate(cr, w, 0);
        cairo_scale(cr, -1, 1);
    }
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_clip(cr);
    cairo_set_source_surface(cr, pic, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
}

void Outline(cairo_t* cr, double x, double y, double w, double h, double r, double g, double b) {
    cairo_rectangle(cr, x + 0.5, y + 0.5, w - 1, h - 1);
    cairo_set_source_rgba(cr, r, g, b, 0.9);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    bool boxes = false, view = false;
    double viewX = 0;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--boxes") {
            boxes = true;
        } else if (args[i] == "--view" && i + 1 < args.size()) {
            view = true;
            viewX = std::atof(args[++i].c_str());
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 3) {
        std::fprintf(stderr, "usage: mappreview MAP.Wdm OUT.png DATADIR [--boxes] [--view X]\n");
        return 2;
    }
    wdm::ReadResult read = wdm::ReadMap(files[0]);
    if (!read) {
        std::fprintf(stderr, "mappreview: %s\n", read.reason.c_str());
        return 2;
    }
    const wdm::MapData& map = read.map;
    Pictures pictures(files[2]);

    const int outW = view ? 800 : map.header.width, outH = view ? 600 : map.header.height;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, outW, outH);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
    cairo_paint(cr);

    // The game's camera for a centre at viewX: anchorX clamped to the map.
    double anchorX = -viewX;
    anchorX = std::max(anchorX, -map.header.width + 400.0);
    anchorX = std::min(anchorX, -400.0);
    const double offsetX = view ? std::trunc(anchorX + 400) : 0;
    auto layerX = [&](int layer, double x) {
        if (!view) return x;
        switch (layer) {
        case 1: return offsetX + std::trunc(x + anchorX / 5);
        case 2: return offsetX + std::trunc(x - anchorX / 10);
        case 3:
        case 4: return offsetX + std::trunc(x - anchorX / 5);
        default: return offsetX + std::trunc(x);
        }
    };

    cairo_surface_t* bg = pictures.Get(map.header.background);
    for (int x = 0; x < (view ? 1 : outW); x += 800) DrawSprite(cr, bg, x, 0, 800, 600, false);
    auto drawLayer = [&](std::size_t section, int layer, bool priority) {
        for (const wdm::SpriteRecord& s : map.sprites[section]) {
            if (section == 0 && (s.layer == wdm::kLayerPriority) != priority) continue;
            DrawSprite(cr, pictures.Get(s.picture), layerX(layer, s.left), s.top, s.width, s.height, s.mirrored);
        }
    };
    auto drawEffect = [&](int effect, double x, double y) {
        if (effect < 1 || effect > 20) return;
        const std::string path = gbk::Lit("\\data\\效果\\") + gbk::FromUtf8(kEffects[effect]) + "\\1.png";
        cairo_surface_t* pic = pictures.Get(path);
        if (pic) DrawSprite(cr, pic, offsetX + x, y, cairo_image_surface_get_width(pic), cairo_image_surface_get_height(pic), false);
    };
    drawLayer(4, 4, false);  // floating
    drawLayer(3, 3, false);  // third background
    drawLayer(2, 2, false);  // second background
    drawLayer(0, 0, false);  // map sprites
    for (const wdm::EventRecord& e : map.events) {
        if (e.kind == wdm::kEventAnimation) {
            const wdm::AnimationDetail d = wdm::ParseAnimationDetail(e.detail);
            drawEffect(d.effectId, d.x, d.y);
        } else if (e.kind == wdm::kEventLink && wdm::ParseLinkDetail(e.detail).targetMap > 0) {
            drawEffect(3, e.left + e.width - 72, e.top + e.height - 92);
        }
    }
    drawLayer(0, 5, true);   // priority sprites
    drawLayer(1, 1, false);  // top layer

    if (boxes) {
        for (const wdm::GroundRecord& g : map.squares) {
            Outline(cr, offsetX + g.left, g.top, g.width, g.height, g.kind == 1 ? 1 : 0.1, g.kind == 1 ? 0.2 : 0.9, 0.1);
        }
        for (const wdm::GroundRecord& g : map.slopes) {
            const double x = offsetX + g.left;
            cairo_move_to(cr, x, g.kind == 0 ? g.top + g.height : g.top);
            cairo_line_to(cr, x + g.width, g.kind == 0 ? g.top : g.top + g.height);
            cairo_set_source_rgba(cr, 1, 0.9, 0, 0.9);
            cairo_set_line_width(cr, 2);
            cairo_stroke(cr);
        }
        for (const wdm::GroundRecord& g : map.stairs) Outline(cr, offsetX + g.left, g.top, g.width, g.height, 0.2, 0.6, 1);
        for (const wdm::EventRecord& e : map.events) Outline(cr, offsetX + e.left, e.top, e.width, e.height, 1, 0.3, 1);
    }

    cairo_surface_flush(surface);
    const bool ok = cairo_surface_write_to_png(surface, files[1].c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    if (!ok) std::fprintf(stderr, "mappreview: cannot write %s\n", files[1].c_str());
    return ok ? 0 : 1;
}
