// Small interface pieces: the mouse pointer, speech-bubble tiles, name
// plates and the NPC quest marks.

#include "generate.h"
#include "ui_style.h"

#include <cmath>
#include <string>

namespace contentgen {

namespace {

// The arrow, tip at (1, 1) (the pointer is drawn with its top-left on the mouse).
void ArrowPath(cairo_t* cr, double s) {
    cairo_move_to(cr, 2, 2);
    cairo_line_to(cr, 2, 2 + 19 * s);
    cairo_line_to(cr, 2 + 5 * s, 2 + 15 * s);
    cairo_line_to(cr, 2 + 8.5 * s, 2 + 22 * s);
    cairo_line_to(cr, 2 + 12 * s, 2 + 20.5 * s);
    cairo_line_to(cr, 2 + 8.5 * s, 2 + 13.5 * s);
    cairo_line_to(cr, 2 + 14.5 * s, 2 + 13.5 * s);
    cairo_close_path(cr);
}

void Pointer(Output& out) {
    for (int n = 1; n <= 8; ++n) {
        Canvas c(30, 30);
        cairo_t* cr = c.cr();
        if (n == 1 || n == 2) {
            // 1 normal, 2 pressed (smaller and warmer).
            const double s = n == 1 ? 1.0 : 0.9;
            ArrowPath(cr, s);
            ShadedFill(cr, n == 1 ? pal::kCream : pal::kGold, 1, 2);
            if (n == 2) Glow(cr, 3, 3, 7, pal::kOrange, 0.8);
        } else if (n >= 3 && n <= 6) {
            // 3..6: over someone to talk to: the arrow with a speech bubble
            // whose three dots light up one after another.
            ArrowPath(cr, 0.8);
            ShadedFill(cr, pal::kCream, 1, 2);
            RoundedRectPath(cr, 12, 12, 16, 11, 4);
            ShadedFill(cr, pal::kWhite, 1, 1.5);
            cairo_move_to(cr, 15, 22);
            cairo_line_to(cr, 13, 27);
            cairo_line_to(cr, 19, 22);
            SetColor(cr, pal::kWhite);
            cairo_fill(cr);
            for (int d = 0; d < 3; ++d) {
                const bool lit = n == 6 || d == n - 3;
                EllipsePath(cr, 16 + d * 4, 17.5 - (lit ? 0.8 : 0), 1.4, 1.4);
                SetColor(cr, lit ? pal::kOrange : pal::kStone);
                cairo_fill(cr);
            }
        } else if (n == 7) {
            // A pointing hand (spare: links and buttons).
            RoundedRectPath(cr, 6, 10, 13, 13, 4);
            ShadedFill(cr, pal::kSkin, 1, 2);
            RoundedRectPath(cr, 8, 1.5, 5, 14, 2.5);
            ShadedFill(cr, pal::kSkin, 1, 2);
        } else {
            // A "not here" mark (spare).
            EllipsePath(cr, 15, 15, 11, 11);
            SetColor(cr, pal::kRed);
            cairo_set_line_width(cr, 4);
            cairo_stroke(cr);
            cairo_move_to(cr, 7.5, 22.5);
            cairo_line_to(cr, 22.5, 7.5);
            cairo_stroke(cr);
        }
        out.Png("其它/指针" + std::to_string(n) + ".png", c);
    }
}

// Speech-bubble tiles, 25 x 25 each, in the order the bubble draws them:
// 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right corner, 4 top,
// 5 bottom, 6 left, 7 right edge, 8 centre, 9 the bottom piece that opens
// toward the speaker. Edge and centre tiles are uniform along their length
// so they can be stretched or repeated. Pointer pictures (对话框选项) are
// the little tail: 0 straight, 1 leaning left, 2 leaning right.
void BubbleTiles(Output& out, int style, Rgb tint) {
    const double T = 25;
    const Rgb fill = Mix(pal::kNight, tint, 0.25);
    const double a = 0.85;
    const Rgb border = Lighter(tint, 0.45);
    // The whole bubble is drawn once on a 75 x 75 canvas; tiles are cut from it.
    auto drawBubble = [&](cairo_t* cr, bool opening) {
        RoundedRectPath(cr, 2, 2, 71, 71, 10);
        SetColor(cr, fill, a);
        cairo_fill_preserve(cr);
        SetColor(cr, border, 0.95);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        if (opening) {  // a gap in the bottom border where the tail attaches
            cairo_rectangle(cr, 25, 70, 25, 5);
            cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
            cairo_fill(cr);
            cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
            cairo_rectangle(cr, 25, 70, 25, 3);
            SetColor(cr, fill, a);
            cairo_fill(cr);
        }
    };
    Canvas full(75, 75), open(75, 75);
    drawBubble(full.cr(), false);
    drawBubble(open.cr(), true);
    const int cells[9][2] = {{0, 0}, {2, 0}, {0, 2}, {2, 2}, {1, 0}, {1, 2}, {0, 1}, {2, 1}, {1, 1}};
    for (int k = 0; k <= 9; ++k) {
        Canvas tile(25, 25);
        const Canvas& src = k == 9 ? open : full;
        const int cx = k == 9 ? 1 : cells[k][0], cy = k == 9 ? 2 : cells[k][1];
        tile.Paste(src, -cx * T, -cy * T);
        out.Png("对话框/" + std::to_string(style) + std::to_string(k) + ".png", tile);
    }
    for (int k = 0; k < 3; ++k) {
        Canvas tail(25, 15);
        cairo_t* cr = tail.cr();
        const double tipX = k == 0 ? 12.5 : (k == 1 ? 5 : 20);
        cairo_move_to(cr, 5, 0);
        cairo_line_to(cr, tipX, 13.5);
        cairo_line_to(cr, 20, 0);
        SetColor(cr, fill, a);
        cairo_fill_preserve(cr);
        SetColor(cr, border, 0.95);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        out.Png("对话框选项/" + std::to_string(style) + std::to_string(k) + ".png", tail);
    }
}

// Name plates: 1 left end, 2 middle (stretched to the name), 3 right end.
void NamePlates(Output& out, const std::string& prefix, Rgb tint) {
    const int h = 18;
    Canvas whole(40, h);
    RoundedRectPath(whole.cr(), 1, 1, 38, h - 2, 8);
    SetColor(whole.cr(), Mix(pal::kNight, tint, 0.35), 0.8);
    cairo_fill_preserve(whole.cr());
    SetColor(whole.cr(), Lighter(tint, 0.3), 0.9);
    cairo_set_line_width(whole.cr(), 1.5);
    cairo_stroke(whole.cr());
    Canvas left(9, h), mid(4, h), right(9, h);
    left.Paste(whole, 0, 0);
    mid.Paste(whole, -18, 0);
    right.Paste(whole, -31, 0);
    out.Png("其它/" + prefix + "1.png", left);
    out.Png("其它/" + prefix + "2.png", mid);
    out.Png("其它/" + prefix + "3.png", right);
}

// Quest marks over NPCs: a bobbing "!" (quest to take) and "?" (quest to
// hand in), 8 frames each.
void QuestMarks(Output& out) {
    const char* folders[2] = {"其它/任务/可接", "其它/任务/可交"};
    const char* glyphs[2] = {"!", "?"};
    const Rgb colours[2] = {pal::kGold, pal::kCyan};
    for (int m = 0; m < 2; ++m) {
        for (int i = 0; i <= 8; ++i) {
            const double t = (i % 8) / 8.0;
            const double bob = std::sin(t * 2 * kPi) * 2.5;
            Canvas c(28, 36);
            Glow(c.cr(), 14, 17 + bob, 13, colours[m], 0.35 + 0.2 * std::sin(t * 2 * kPi));
            OutlinedText(c.cr(), glyphs[m], 14, 17 + bob, 26, colours[m], Darker(colours[m], 0.65), 2, true,
                         "DejaVu Sans");
            out.Frame(folders[m], i, c, 0, 0);
        }
    }
}

}  // namespace

void GenerateWidgets(Output& out) {
    Pointer(out);
    BubbleTiles(out, 1, pal::kBlue);
    BubbleTiles(out, 2, pal::kLeaf);
    BubbleTiles(out, 3, pal::kViolet);
    NamePlates(out, "npc名称", pal::kLeaf);
    NamePlates(out, "怪物名称", pal::kRed);
    QuestMarks(out);
}

}  // namespace contentgen
