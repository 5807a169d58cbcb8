// HUD pieces and window backgrounds, each exactly the size the interface
// code places it at.

#include "generate.h"
#include "rig.h"
#include "ui_style.h"

#include <cmath>
#include <string>

namespace contentgen {

namespace {

// The bottom bar, 800 x 55: the chat box sits over its left part, the eight
// skill wells at x = 418 + 33 i, and the experience track along the bottom
// at (164, 47) relative to the bar, 632 x 5 like its fill.
void BottomBar(Output& out) {
    Canvas c(800, 55);
    cairo_t* cr = c.cr();
    cairo_rectangle(cr, 0, 0, 800, 55);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 55);
    cairo_pattern_add_color_stop_rgba(g, 0, pal::kDusk.r, pal::kDusk.g, pal::kDusk.b, 0.9);
    cairo_pattern_add_color_stop_rgba(g, 1, pal::kNight.r, pal::kNight.g, pal::kNight.b, 0.95);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // Gold trim along the top
    cairo_rectangle(cr, 0, 0, 800, 2);
    SetColor(cr, pal::kGold, 0.8);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, 2, 800, 1);
    SetColor(cr, pal::kInk, 0.8);
    cairo_fill(cr);
    for (int i = 0; i < 8; ++i) DrawWell(cr, 418 + 33 * i - 2, 3, 29, 29, 4);
    DrawWell(cr, 162, 45, 636, 9, 3);
    OutlinedText(cr, "EXP", 24, 50, 9, pal::kGold, pal::kInk, 1, true, "DejaVu Sans");
    out.Png("其它/底部UI.png", c);

    Canvas exp(632, 5);
    DrawBarFill(exp.cr(), 0, 0, 632, 5, pal::kGold, 2);
    out.Png("其它/经验条.png", exp);
}

void ChatFrame(Output& out) {
    const Rgb fill = pal::kNight;
    const double a = 0.55;
    Canvas top(383, 5), mid(383, 1), bottom(383, 5);
    // Top: rounded upper corners and the light border line.
    RoundedRectPath(top.cr(), 0.5, 0.5, 382, 12, 4);
    SetColor(top.cr(), fill, a);
    cairo_fill_preserve(top.cr());
    SetColor(top.cr(), pal::kMist, 0.7);
    cairo_set_line_width(top.cr(), 1);
    cairo_stroke(top.cr());
    // Middle: one row of fill with the side borders, stretched by the game.
    cairo_rectangle(mid.cr(), 0, 0, 383, 1);
    SetColor(mid.cr(), fill, a);
    cairo_fill(mid.cr());
    for (double x : {0.0, 382.0}) {
        cairo_rectangle(mid.cr(), x, 0, 1, 1);
        SetColor(mid.cr(), pal::kMist, 0.7);
        cairo_fill(mid.cr());
    }
    RoundedRectPath(bottom.cr(), 0.5, -8, 382, 12.5, 4);
    SetColor(bottom.cr(), fill, a);
    cairo_fill_preserve(bottom.cr());
    SetColor(bottom.cr(), pal::kMist, 0.7);
    cairo_set_line_width(bottom.cr(), 1);
    cairo_stroke(bottom.cr());
    out.Png("其它/聊天背景框上.png", top);
    out.Png("其它/聊天背景框中.png", mid);
    out.Png("其它/聊天背景框下.png", bottom);

    Canvas slider(10, 24);
    RoundedRectPath(slider.cr(), 1, 1, 8, 22, 3);
    ShadedFill(slider.cr(), pal::kMist, 1, 1.5);
    for (int i = 0; i < 3; ++i) {
        cairo_rectangle(slider.cr(), 3, 8 + i * 3, 4, 1);
        SetColor(slider.cr(), pal::kStone);
        cairo_fill(slider.cr());
    }
    out.Png("其它/聊天框滑动条.png", slider);

    Canvas tile(10, 10);
    cairo_rectangle(tile.cr(), 0, 0, 10, 10);
    SetColor(tile.cr(), pal::kNight, 0.78);
    cairo_fill(tile.cr());
    out.Png("其它/msg.png", tile);
}

void RightPanel(Output& out) {
    Canvas c(45, 327);
    DrawPanel(c.cr(), 0, 0, 45, 327, 8, 0.75);
    // Small gem at the top and bottom
    for (double y : {12.0, 315.0}) {
        StarPath(c.cr(), 22.5, y, 5, 2.2, 4, 0);
        FlatFill(c.cr(), pal::kGold, 1, 1);
    }
    out.Png("其它/右侧背景.png", c);
    const char* names[] = {"状态", "物品", "技能", "任务", "系统"};
    for (const char* n : names) WriteButton(out, std::string("其它/") + n, 48, 28, n, 13);
}

// A window background with a title strip and a close/help corner left free
// at the top right (the game puts its 20 x 20 buttons there).
Canvas Window(int w, int h, const std::string& title) {
    Canvas c(w, h);
    DrawPanel(c.cr(), 0, 0, w, h, 10);
    DrawTitleBar(c.cr(), 8, 6, w - 16 - 48, 24, title);
    return c;
}

void SlotGrid(cairo_t* cr, double x, double y, int cols, int rows, double cell) {
    for (int r = 0; r < rows; ++r)
        for (int k = 0; k < cols; ++k) DrawWell(cr, x + k * cell, y + r * cell, cell - 3, cell - 3, 3);
}

void Windows(Output& out) {
    {
        // Status: the game prints the character's values into these cells,
        // nine rows 24 px apart from y 40, two columns (x 12 and 124, 104
        // wide); the name and experience rows span both columns, the last
        // row has its left cell only.
        Canvas c = Window(240, 300, "角色状态");
        cairo_t* cr = c.cr();
        for (int r = 0; r < 9; ++r) {
            const double y = 40 + r * 24;
            if (r == 0 || r == 3) {
                DrawWell(cr, 12, y, 216, 22, 4);
            } else {
                DrawWell(cr, 12, y, 104, 22, 4);
                if (r != 8) DrawWell(cr, 124, y, 104, 22, 4);
            }
        }
        out.Png("其它/状态背景.png", c);
    }
    {
        Canvas c = Window(240, 320, "物品");
        SlotGrid(c.cr(), 18, 40, 6, 6, 34);
        DrawWell(c.cr(), 18, 250, 201, 22, 4);
        out.Png("其它/物品背景.png", c);
    }
    {
        Canvas c = Window(240, 300, "技能");
        for (int i = 0; i < 6; ++i) {
            DrawWell(c.cr(), 14, 40 + i * 42, 34, 34, 3);
            DrawWell(c.cr(), 54, 40 + i * 42, 172, 34, 4);
        }
        out.Png("其它/技能背景.png", c);
    }
    {
        Canvas c = Window(300, 320, "任务");
        DrawWell(c.cr(), 12, 38, 110, 270, 5);
        DrawWell(c.cr(), 128, 38, 160, 270, 5);
        out.Png("其它/任务背景.png", c);
    }
    {
        // Trade window: 48 shop cells, 8 x 6; its two buttons sit at the top right.
        Canvas c = Window(300, 300, "商店");
        SlotGrid(c.cr(), 14, 42, 8, 6, 34);
        DrawWell(c.cr(), 14, 250, 270, 36, 5);
        out.Png("其它/交易框背景.png", c);
    }
    {
        // NPC dialog: name at (40, 20), prompt and choices below; the close
        // button sits at (352, 16).
        Canvas c(395, 220);
        DrawPanel(c.cr(), 0, 0, 395, 220, 12, 0.85);
        DrawWell(c.cr(), 30, 12, 160, 24, 5);
        cairo_rectangle(c.cr(), 24, 44, 347, 1);
        SetColor(c.cr(), pal::kGold, 0.5);
        cairo_fill(c.cr());
        out.Png("其它/npc交互框.png", c);
    }
    {
        // Message box (death notice) with room for its button at (102, 117).
        Canvas c(265, 171);
        cairo_t* cr = c.cr();
        DrawPanel(cr, 0, 0, 265, 171, 12, 0.88);
        DrawTitleBar(cr, 10, 8, 245, 24, "提示");
        OutlinedText(cr, "你倒下了……", 132.5, 62, 16, pal::kCream, pal::kInk, 1.2);
        OutlinedText(cr, "点击确定，回到城镇复活", 132.5, 90, 12, pal::kMist, pal::kInk, 1.0, true,
                     "WenQuanYi Micro Hei", false);
        out.Png("其它/46987-1.png", c);
        WriteButton(out, "其它/确定", 60, 24, "确定", 13);
    }
}

void SmallButtons(Output& out) {
    auto round = [&](const char* file, Rgb face, const char* glyph) {
        Canvas c(20, 20);
        EllipsePath(c.cr(), 10, 10, 8.5, 8.5);
        ShadedFill(c.cr(), face, 1, 1.5);
        OutlinedText(c.cr(), glyph, 10, 10, 12, pal::kWhite, Darker(face, 0.5), 1, true, "DejaVu Sans");
        out.Png(file, c);
    };
    round("其它/关闭.png", pal::kRed, "×");
    round("其它/问号.png", pal::kBlue, "?");

    Canvas shade(25, 25);
    RoundedRectPath(shade.cr(), 0, 0, 25, 25, 3);
    SetColor(shade.cr(), pal::kInk, 0.62);
    cairo_fill(shade.cr());
    out.Png("其它/p.png", shade);

    // The picture that follows the mouse while an item is carried: a
    // glowing slot frame under the item icon.
    Canvas carry(30, 30);
    RoundedRectPath(carry.cr(), 2, 2, 26, 26, 4);
    SetColor(carry.cr(), pal::kGold, 0.25);
    cairo_fill_preserve(carry.cr());
    SetColor(carry.cr(), pal::kGold, 0.95);
    cairo_set_line_width(carry.cr(), 2);
    cairo_stroke(carry.cr());
    out.Png("道具/888.png", carry);
}

// Player panel: portrait socket at the left, HP well at (99, 24) 122 x 25,
// MP well at (99, 49) 100 x 10, name line at (125, 5), level at (125, 62).
void PlayerPanel(Output& out) {
    Canvas c(236, 84);
    cairo_t* cr = c.cr();
    RoundedRectPath(cr, 40, 2, 194, 80, 12);
    SetColor(cr, pal::kNight, 0.78);
    cairo_fill_preserve(cr);
    SetColor(cr, pal::kMist, 0.5);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    EllipsePath(cr, 44, 42, 42, 40);
    ShadedFill(cr, pal::kDusk, 1, 2.5);
    EllipsePath(cr, 44, 42, 37, 35);
    SetColor(cr, pal::kGold, 0.9);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    DrawWell(cr, 97, 22, 126, 29, 5);
    DrawWell(cr, 97, 47, 104, 14, 4);
    OutlinedText(cr, "Lv", 110, 70, 11, pal::kGold, pal::kInk, 1, true, "DejaVu Sans");
    out.Png("其它/主进度底图.png", c);

    Canvas hp(122, 25), hpBack(122, 25), mp(100, 10), mpBack(100, 10);
    DrawBarFill(hp.cr(), 0, 0, 122, 25, pal::kRed, 5);
    RoundedRectPath(hpBack.cr(), 0, 0, 122, 25, 5);
    SetColor(hpBack.cr(), Darker(pal::kRed, 0.7), 0.9);
    cairo_fill(hpBack.cr());
    DrawBarFill(mp.cr(), 0, 0, 100, 10, pal::kBlue, 3);
    RoundedRectPath(mpBack.cr(), 0, 0, 100, 10, 3);
    SetColor(mpBack.cr(), Darker(pal::kBlue, 0.7), 0.9);
    cairo_fill(mpBack.cr());
    out.Png("其它/血条前景.png", hp);
    out.Png("其它/血条背景.png", hpBack);
    out.Png("其它/小进度前景.png", mp);
    out.Png("其它/小进度背景.png", mpBack);
}

// Portraits: the player's bust in the round socket and a full figure for
// the status window.
void Portraits(Output& out) {
    const RigStyle style;
    Pose pose;
    pose.armF = 20;
    pose.elbowF = 40;
    pose.headTilt = -3;
    {
        Canvas c(88, 84);
        cairo_t* cr = c.cr();
        EllipsePath(cr, 44, 42, 36, 34);
        cairo_clip(cr);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 84);
        cairo_pattern_add_color_stop_rgb(g, 0, pal::kSky.r, pal::kSky.g, pal::kSky.b);
        cairo_pattern_add_color_stop_rgb(g, 1, pal::kBlue.r, pal::kBlue.g, pal::kBlue.b);
        cairo_set_source(cr, g);
        cairo_paint(cr);
        cairo_pattern_destroy(g);
        cairo_save(cr);
        cairo_translate(cr, 44, 42);
        cairo_scale(cr, 1.9, 1.9);
        DrawFigure(cr, style, pose, -3, 47);
        cairo_restore(cr);
        out.Png("头像/1.png", c);
    }
    {
        // The program's icon for desktop menus: the portrait on a round badge.
        Canvas c(128, 128);
        cairo_t* cr = c.cr();
        EllipsePath(cr, 64, 64, 60, 60);
        SetColor(cr, pal::kInk, 1.0);
        cairo_fill(cr);
        EllipsePath(cr, 64, 64, 56, 56);
        cairo_clip(cr);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 128);
        cairo_pattern_add_color_stop_rgb(g, 0, pal::kSky.r, pal::kSky.g, pal::kSky.b);
        cairo_pattern_add_color_stop_rgb(g, 1, pal::kBlue.r, pal::kBlue.g, pal::kBlue.b);
        cairo_set_source(cr, g);
        cairo_paint(cr);
        cairo_pattern_destroy(g);
        cairo_translate(cr, 64, 62);
        cairo_scale(cr, 2.8, 2.8);
        DrawFigure(cr, style, pose, -3, 47);
        out.Png("其它/图标.png", c);
    }
    {
        Canvas c(120, 160);
        cairo_t* cr = c.cr();
        EllipsePath(cr, 60, 150, 34, 6);
        SetColor(cr, pal::kInk, 0.3);
        cairo_fill(cr);
        cairo_save(cr);
        cairo_translate(cr, 60, 150);
        cairo_scale(cr, 2.0, 2.0);
        DrawFigure(cr, style, pose, 0, 0);
        cairo_restore(cr);
        out.Png("头像/1show.png", c);
    }
}

// The banner the map name is written over: 271 x 92.
void MapNameBanner(Output& out) {
    Canvas c(271, 92);
    cairo_t* cr = c.cr();
    // Ribbon ends
    for (int side = -1; side <= 1; side += 2) {
        const double x = 135.5 + side * 112;
        cairo_move_to(cr, x, 34);
        cairo_line_to(cr, x + side * 22, 34);
        cairo_line_to(cr, x + side * 12, 48);
        cairo_line_to(cr, x + side * 22, 62);
        cairo_line_to(cr, x, 62);
        cairo_close_path(cr);
        ShadedFill(cr, Darker(pal::kRed, 0.15));
    }
    RoundedRectPath(cr, 22, 24, 227, 46, 8);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 24, 0, 70);
    cairo_pattern_add_color_stop_rgba(g, 0, pal::kDusk.r, pal::kDusk.g, pal::kDusk.b, 0.92);
    cairo_pattern_add_color_stop_rgba(g, 1, pal::kNight.r, pal::kNight.g, pal::kNight.b, 0.92);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    SetColor(cr, pal::kGold, 0.95);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    RoundedRectPath(cr, 27, 29, 217, 36, 5);
    SetColor(cr, pal::kGold, 0.45);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    for (double x : {40.0, 231.0}) {
        StarPath(cr, x, 47, 5, 2, 4, 0);
        FlatFill(cr, pal::kGold, 1, 0);
    }
    out.Png("其它/地图名底图.png", c);
}

}  // namespace

void GenerateInterface(Output& out) {
    BottomBar(out);
    ChatFrame(out);
    RightPanel(out);
    Windows(out);
    SmallButtons(out);
    PlayerPanel(out);
    Portraits(out);
    MapNameBanner(out);
}

}  // namespace contentgen
