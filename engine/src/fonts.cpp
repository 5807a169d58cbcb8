// TrueType text: faces found through fontconfig, strings rendered once into
// textures and kept in a bounded cache, drawn later with colour modulation.

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "engine_internal.h"
#include "shared/gbk.h"

namespace lumo {
namespace {

constexpr std::size_t kCacheEntries = 1024;
// The cached pictures' pixels (4 bytes each) stay within this. Counting
// entries alone let a stream of long, distinct texts (chat lines, the speech
// bubble's stacked lines) hold over a hundred megabytes; a frame's own texts
// need a small part of it.
constexpr std::size_t kCacheBytes = 8u << 20;

std::size_t PixelBytes(const CachedText& c) {
    return static_cast<std::size_t>(c.w) * static_cast<std::size_t>(c.h) * 4;
}
constexpr const char* kCjkFallback = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

bool CoversChinese(FcPattern* font) {
    FcCharSet* cs = nullptr;
    return FcPatternGetCharSet(font, FC_CHARSET, 0, &cs) == FcResultMatch && cs &&
           FcCharSetHasChar(cs, 0x4E2D) && FcCharSetHasChar(cs, 0x6587);
}

// Asks fontconfig for `family` (UTF-8; empty = any Chinese font).
bool Match(const std::string& family, std::string& file, long& index) {
    if (!FcInit()) return false;
    FcPattern* pat = FcPatternCreate();
    if (!pat) return false;
    if (!family.empty())
        FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddString(pat, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult res = FcResultNoMatch;
    FcPattern* font = FcFontMatch(nullptr, pat, &res);
    bool ok = false;
    if (font) {
        FcChar8* path = nullptr;
        int idx = 0;
        if (FcPatternGetString(font, FC_FILE, 0, &path) == FcResultMatch && path &&
            CoversChinese(font)) {
            file = reinterpret_cast<const char*>(path);
            FcPatternGetInteger(font, FC_INDEX, 0, &idx);
            index = idx;
            ok = true;
        }
        FcPatternDestroy(font);
    }
    FcPatternDestroy(pat);
    return ok;
}

// The file of a face name (GBK), resolved once per name.
std::pair<std::string, long> ResolveFace(Engine& g, const std::string& faceGbk) {
    auto it = g.faceFiles.find(faceGbk);
    if (it != g.faceFiles.end()) return it->second;
    std::string file;
    long index = 0;
    if (!Match(gbk::ToUtf8(faceGbk), file, index) && !Match("", file, index)) {
        file = kCjkFallback;
        index = 0;
    }
    auto& slot = g.faceFiles[faceGbk];
    slot = {file, index};
    return slot;
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Looks for a font file by bare name in the usual font folders.
std::string FindSystemFont(const std::string& name) {
    namespace fs = std::filesystem;
    const std::string want = Lower(name);
    std::vector<std::string> roots = {"/usr/share/fonts", "/usr/local/share/fonts"};
    if (const char* home = std::getenv("HOME")) {
        roots.push_back(std::string(home) + "/.fonts");
        roots.push_back(std::string(home) + "/.local/share/fonts");
    }
    for (const std::string& root : roots) {
        std::error_code ec;
        fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec);
        int visited = 0;
        for (; !ec && it != fs::recursive_directory_iterator() && visited < 20000;
             it.increment(ec), ++visited) {
            if (Lower(it->path().filename().string()) == want) return it->path().string();
        }
    }
    return {};
}

bool Open(Engine& g, TtfFont& f) {
    if (!g.ttfStarted) return false;
    TTF_Font* font = TTF_OpenFontIndex(f.file.c_str(), f.size, f.index);
    if (!font) return false;
    if (f.font) TTF_CloseFont(f.font);
    f.font = font;
    TTF_SetFontStyle(font, f.style);
    f.serial = g.nextFontSerial++;
    return true;
}

void DropCached(Engine& g, std::list<CachedText>::iterator it) {
    if (it->tex) SDL_DestroyTexture(it->tex);
    g.textBytes -= PixelBytes(*it);
    g.textIndex.erase(it->key);
    g.textLru.erase(it);
}

// The cache key: font serial, the style (bold, italic, smooth edges), then
// the GBK bytes. The serial comes first so a closed font's entries share a prefix.
const std::string& KeyOf(Engine& g, const TtfFont& f, const char* text) {
    g.keyScratch.assign(reinterpret_cast<const char*>(&f.serial), sizeof f.serial);
    g.keyScratch.push_back(static_cast<char>((f.style & 0x7F) | (f.smooth ? 0x80 : 0)));
    g.keyScratch.append(text);
    return g.keyScratch;
}

// Renders white text: blended (antialiased) or solid (hard edges); lines
// break at '\n' only.
SDL_Surface* Rasterise(const TtfFont& f, const std::string& utf8) {
    const SDL_Color white{255, 255, 255, 255};
    const bool lines = utf8.find('\n') != std::string::npos;
    if (f.smooth)
        return lines ? TTF_RenderUTF8_Blended_Wrapped(f.font, utf8.c_str(), white, 0)
                     : TTF_RenderUTF8_Blended(f.font, utf8.c_str(), white);
    return lines ? TTF_RenderUTF8_Solid_Wrapped(f.font, utf8.c_str(), white, 0)
                 : TTF_RenderUTF8_Solid(f.font, utf8.c_str(), white);
}

CachedText* Lookup(Engine& g, const TtfFont& f, const char* text, bool render) {
    const std::string& key = KeyOf(g, f, text);
    auto hit = g.textIndex.find(key);
    if (hit != g.textIndex.end()) {
        g.textLru.splice(g.textLru.begin(), g.textLru, hit->second);
        return &*hit->second;
    }
    if (!render || !g.renderer || !f.font) return nullptr;
    SDL_Surface* surf = Rasterise(f, gbk::ToUtf8(text));
    ++g.rasterCount;
    if (!surf) return nullptr;
    SDL_Texture* tex = SDL_CreateTextureFromSurface(g.renderer, surf);
    CachedText entry{key, tex, surf->w, surf->h};
    SDL_FreeSurface(surf);
    if (!tex) return nullptr;
    SDL_SetTextureBlendMode(tex, SDL_BLENDMODE_BLEND);
    const std::size_t bytes = PixelBytes(entry);
    while (!g.textLru.empty() && (g.textLru.size() >= kCacheEntries || g.textBytes + bytes > kCacheBytes))
        DropCached(g, std::prev(g.textLru.end()));
    g.textBytes += bytes;
    g.textLru.push_front(std::move(entry));
    g.textIndex.emplace(g.textLru.front().key, g.textLru.begin());
    return &g.textLru.front();
}

void Forget(Engine& g, const TtfFont& f) {
    const std::string prefix(reinterpret_cast<const char*>(&f.serial), sizeof f.serial);
    for (auto it = g.textLru.begin(); it != g.textLru.end();) {
        auto next = std::next(it);
        if (it->key.compare(0, prefix.size(), prefix) == 0) DropCached(g, it);
        it = next;
    }
}

void Close(Engine& g, TtfFont& f) {
    Forget(g, f);
    if (f.font) TTF_CloseFont(f.font);
    f.font = nullptr;
}

int StyleOf(int bold, int italic) {
    return (bold ? TTF_STYLE_BOLD : 0) | (italic ? TTF_STYLE_ITALIC : 0);
}

}  // namespace

float TtfPrint(Engine& g, TtfFont& f, float x, float y, const char* text, std::uint32_t argb) {
    if (!text || !*text || !g.renderer) return 0;
    CachedText* c = Lookup(g, f, text, true);
    if (g.listener)
        Notify(g, LUMO_DRAW_TEXT, 0, 0, x, y, c ? static_cast<float>(c->w) : 0.0f,
               c ? static_cast<float>(c->h) : 0.0f, argb, text);
    if (!c) return 0;
    if (g.drawingOff) return static_cast<float>(c->w);
    SceneTouched(g);
    ApplyMod(c->tex, argb);
    const SDL_FRect dst{x, y, static_cast<float>(c->w), static_cast<float>(c->h)};
    SDL_RenderCopyF(g.renderer, c->tex, nullptr, &dst);
    return static_cast<float>(c->w);
}

float TtfWidth(Engine& g, TtfFont& f, const char* text) {
    if (!text || !*text || !f.font) return 0;
    if (CachedText* c = Lookup(g, f, text, false)) return static_cast<float>(c->w);
    int w = 0, h = 0;
    // Lines are cut in the GBK text: the GBK splitter walks GBK characters and
    // would step over a newline that follows a UTF-8 sequence.
    int widest = 0;
    for (const std::string& line : gbk::Split(text, "\n")) {
        if (line.empty()) continue;
        if (TTF_SizeUTF8(f.font, gbk::ToUtf8(line).c_str(), &w, &h) == 0) widest = std::max(widest, w);
    }
    return static_cast<float>(widest);
}

float TtfHeight(Engine& g, TtfFont& f, const char* text) {
    if (!text || !*text || !f.font) return 0;
    if (CachedText* c = Lookup(g, f, text, false)) return static_cast<float>(c->h);
    const std::string_view all(text);
    const auto breaks = std::count(all.begin(), all.end(), '\n');
    if (breaks == 0) {
        int w = 0, h = 0;
        if (TTF_SizeUTF8(f.font, gbk::ToUtf8(text).c_str(), &w, &h) != 0) return 0;
        return static_cast<float>(h);
    }
    // A text with line breaks is rasterised as one block: the first line is a
    // full font height, every further line adds the line skip.
    return static_cast<float>(TTF_FontHeight(f.font) +
                              static_cast<long>(breaks) * TTF_FontLineSkip(f.font));
}

void FontsClose(Engine& g) {
    for (auto& c : g.textLru)
        if (c.tex) SDL_DestroyTexture(c.tex);
    g.textLru.clear();
    g.textIndex.clear();
    g.textBytes = 0;
    g.fonts.ForEach([](std::uint32_t, TtfFont& f) {
        if (f.font) TTF_CloseFont(f.font);
    });
    g.fontMs.ForEach([](std::uint32_t, TtfFont& f) {
        if (f.font) TTF_CloseFont(f.font);
    });
    g.fonts.Clear();
    g.fontMs.Clear();
    g.bmFonts.ForEach([](std::uint32_t, BmFont& b) {
        for (SDL_Texture* t : b.pages)
            if (t) SDL_DestroyTexture(t);
    });
    g.bmFonts.Clear();
}

}  // namespace lumo

using namespace lumo;

HFONT Font_Interface_Get(const char* face, int size, int bold, int italic, int smooth) {
    Engine* g = g_engine;
    if (g && !g->ttfStarted) g->ttfStarted = TTF_Init() == 0;
    if (!g || !g->ttfStarted) return 0;
    TtfFont f;
    const auto [file, index] = ResolveFace(*g, face ? face : "");
    f.file = file;
    f.index = index;
    f.size = std::clamp(size, 1, 512);
    f.style = StyleOf(bold, italic);
    f.smooth = smooth != 0;
    if (!Open(*g, f)) {
        f.file = kCjkFallback;
        f.index = 0;
        if (!Open(*g, f)) return 0;
    }
    const std::uint32_t h = g->fonts.Add(f);
    if (!h) TTF_CloseFont(f.font);
    return h;
}

void Font_SetColor(HFONT font, std::uint32_t argb) {
    TtfFont* f = g_engine ? g_engine->fonts.Get(font) : nullptr;
    if (f) f->color = argb;
}

void Font_Printf(HFONT font, float x, float y, const char* text) {
    TtfFont* f = g_engine ? g_engine->fonts.Get(font) : nullptr;
    if (f) TtfPrint(*g_engine, *f, x, y, text, f->color);
}

float Font_GetTextWidth(HFONT font, const char* text) {
    TtfFont* f = g_engine ? g_engine->fonts.Get(font) : nullptr;
    return f ? TtfWidth(*g_engine, *f, text) : 0.0f;
}

float Font_GetTextHeight(HFONT font, const char* text) {
    TtfFont* f = g_engine ? g_engine->fonts.Get(font) : nullptr;
    return f ? TtfHeight(*g_engine, *f, text) : 0.0f;
}

void Font_Del(HFONT font) {
    TtfFont* f = g_engine ? g_engine->fonts.Get(font) : nullptr;
    if (!f) return;
    Close(*g_engine, *f);
    g_engine->fonts.Remove(font);
}

HFONTM FontM_Interface_Get() {
    return g_engine ? g_engine->fontMs.Add(TtfFont{}) : 0;
}

void FontM_Initialize(HFONTM /*fm*/, HENGINE /*e*/) {
    // Font managers belong to the live engine; nothing to bind.
}

bool FontM_loadFont(HFONTM fm, const char* path, int size) {
    Engine* g = g_engine;
    TtfFont* f = g ? g->fontMs.Get(fm) : nullptr;
    if (!f || !path || !*path) return false;
    std::string file = path;
    if (file.find('/') == std::string::npos) {
        file = FindSystemFont(file);
        if (file.empty()) file = kCjkFallback;
    }
    TtfFont next = *f;
    next.font = nullptr;
    next.file = file;
    next.index = 0;
    next.size = std::clamp(size, 1, 512);
    if (!Open(*g, next)) return false;
    Close(*g, *f);
    *f = next;
    return true;
}

void FontN_printf(HFONTM fm, float x, float y, const char* text) {
    TtfFont* f = g_engine ? g_engine->fontMs.Get(fm) : nullptr;
    if (f && f->font) TtfPrint(*g_engine, *f, x, y, text, f->color);
}

void FontN_setSize(HFONTM fm, int size) {
    Engine* g = g_engine;
    TtfFont* f = g ? g->fontMs.Get(fm) : nullptr;
    if (!f || !f->font) return;
    size = std::clamp(size, 1, 512);
    if (size == f->size) return;
    TtfFont next = *f;
    next.font = nullptr;
    next.size = size;
    if (!Open(*g, next)) return;
    Close(*g, *f);
    *f = next;
}

void FontN_setColor(HFONTM fm, std::uint32_t argb) {
    TtfFont* f = g_engine ? g_engine->fontMs.Get(fm) : nullptr;
    if (f) f->color = argb;
}

float FontN_getTextWidth(HFONTM fm, const char* text) {
    TtfFont* f = g_engine ? g_engine->fontMs.Get(fm) : nullptr;
    return f ? TtfWidth(*g_engine, *f, text) : 0.0f;
}

float FontN_getTextHeight(HFONTM fm, const char* text) {
    TtfFont* f = g_engine ? g_engine->fontMs.Get(fm) : nullptr;
    return f ? TtfHeight(*g_engine, *f, text) : 0.0f;
}
