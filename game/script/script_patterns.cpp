#include "script/script_patterns.h"

#include "script/script_state.h"

#include <ctype.h>

#include <cstddef>
#include <cstring>

// Lua errors leave these functions by longjmp: no object with a destructor
// lives in any frame below a call that can raise one.

namespace {

constexpr int kMaxCaptures = LUA_MAXCAPTURES;
constexpr int kMaxDepth = 200;
// Steps (pattern items tried, bytes compared) between two looks at the clock.
constexpr std::size_t kStepsPerCheck = 4096;
constexpr char kEscape = '%';
constexpr const char* kSpecials = "^$*+?.([%-";
constexpr std::ptrdiff_t kCapUnfinished = -1;
constexpr std::ptrdiff_t kCapPosition = -2;

struct Capture {
    const char* init;
    std::ptrdiff_t len;
};

struct MatchState {
    const char* srcInit;
    const char* srcEnd;
    lua_State* L;
    ScriptState* owner;
    std::size_t steps;
    int depth;
    int level;
    Capture capture[kMaxCaptures];
};

int Byte(char c) { return static_cast<unsigned char>(c); }

void Start(MatchState& ms, lua_State* L, const char* s, std::size_t length) {
    ms.srcInit = s;
    ms.srcEnd = s + length;
    ms.L = L;
    ms.owner = ScriptState::FromLua(L);
    ms.steps = 0;
    ms.depth = 0;
    ms.level = 0;
}

void Tick(MatchState& ms, std::size_t weight = 1) {
    ms.steps += weight;
    if (ms.steps < kStepsPerCheck) return;
    ms.steps = 0;
    if (ms.owner != nullptr && ms.owner->StopIfDue(ms.L)) luaL_error(ms.L, "pattern matching stopped");
}

int CheckCapture(MatchState& ms, int l) {
    l -= '1';
    if (l < 0 || l >= ms.level || ms.capture[l].len == kCapUnfinished) return luaL_error(ms.L, "invalid capture index");
    return l;
}

int CaptureToClose(MatchState& ms) {
    for (int level = ms.level - 1; level >= 0; --level) {
        if (ms.capture[level].len == kCapUnfinished) return level;
    }
    return luaL_error(ms.L, "invalid pattern capture");
}

const char* ClassEnd(MatchState& ms, const char* p) {
    switch (*p++) {
    case kEscape:
        if (*p == '\0') luaL_error(ms.L, "malformed pattern (ends with '%%')");
        return p + 1;
    case '[':
        if (*p == '^') p++;
        do {  // look for a ']'
            if (*p == '\0') luaL_error(ms.L, "malformed pattern (missing ']')");
            if (*(p++) == kEscape && *p != '\0') p++;  // skip escapes (e.g. "%]")
        } while (*p != ']');
        return p + 1;
    default: return p;
    }
}

bool MatchClass(int c, int cl) {
    int res = 0;
    switch (tolower(cl)) {
    case 'a': res = isalpha(c); break;
    case 'c': res = iscntrl(c); break;
    case 'd': res = isdigit(c); break;
    case 'l': res = islower(c); break;
    case 'p': res = ispunct(c); break;
    case 's': res = isspace(c); break;
    case 'u': res = isupper(c); break;
    case 'w': res = isalnum(c); break;
    case 'x': res = isxdigit(c); break;
    case 'z': res = (c == 0); break;
    default: return cl == c;
    }
    return islower(cl) ? res != 0 : res == 0;
}

bool MatchBracketClass(int c, const char* p, const char* ec) {
    bool sig = true;
    if (*(p + 1) == '^') {
        sig = false;
        p++;  // skip the '^'
    }
    while (++p < ec) {
        if (*p == kEscape) {
            p++;
            if (MatchClass(c, Byte(*p))) return sig;
        } else if (*(p + 1) == '-' && p + 2 < ec) {
            p += 2;
            if (Byte(*(p - 2)) <= c && c <= Byte(*p)) return sig;
        } else if (Byte(*p) == c) {
            return sig;
        }
    }
    return !sig;
}

bool SingleMatch(int c, const char* p, const char* ep) {
    switch (*p) {
    case '.': return true;
    case kEscape: return MatchClass(c, Byte(*(p + 1)));
    case '[': return MatchBracketClass(c, p, ep - 1);
    default: return Byte(*p) == c;
    }
}

const char* Match(MatchState& ms, const char* s, const char* p);

const char* MatchBalance(MatchState& ms, const char* s, const char* p) {
    if (*p == '\0' || *(p + 1) == '\0') luaL_error(ms.L, "unbalanced pattern");
    if (s >= ms.srcEnd || *s != *p) return nullptr;
    const char b = *p;
    const char e = *(p + 1);
    int cont = 1;
    while (++s < ms.srcEnd) {
        Tick(ms);
        if (*s == e) {
            if (--cont == 0) return s + 1;
        } else if (*s == b) {
            cont++;
        }
    }
    return nullptr;
}

const char* MaxExpand(MatchState& ms, const char* s, const char* p, const char* ep) {
    std::ptrdiff_t i = 0;
    while (s + i < ms.srcEnd && SingleMatch(Byte(*(s + i)), p, ep)) {
        Tick(ms);
        i++;
    }
    // Tries the longest run first, then shorter ones.
    while (i >= 0) {
        const char* res = Match(ms, s + i, ep + 1);
        if (res != nullptr) return res;
        i--;
    }
    return nullptr;
}

const char* MinExpand(MatchState& ms, const char* s, const char* p, const char* ep) {
    for (;;) {
        const char* res = Match(ms, s, ep + 1);
        if (res != nullptr) return res;
        if (s < ms.srcEnd && SingleMatch(Byte(*s), p, ep)) {
            s++;
        } else {
            return nullptr;
        }
    }
}

const char* StartCapture(MatchState& ms, const char* s, const char* p, std::ptrdiff_t what) {
    const int level = ms.level;
    if (level >= kMaxCaptures) luaL_error(ms.L, "too many captures");
    ms.capture[level].init = s;
    ms.capture[level].len = what;
    ms.level = level + 1;
    const char* res = Match(ms, s, p);
    if (res == nullptr) ms.level--;  // undo the capture
    return res;
}

const char* EndCapture(MatchState& ms, const char* s, const char* p) {
    const int l = CaptureToClose(ms);
    ms.capture[l].len = s - ms.capture[l].init;
    const char* res = Match(ms, s, p);
    if (res == nullptr) ms.capture[l].len = kCapUnfinished;
    return res;
}

const char* MatchCapture(MatchState& ms, const char* s, int l) {
    l = CheckCapture(ms, l);
    const auto len = static_cast<std::size_t>(ms.capture[l].len);
    Tick(ms, len / 64);
    if (static_cast<std::size_t>(ms.srcEnd - s) >= len && std::memcmp(ms.capture[l].init, s, len) == 0) return s + len;
    return nullptr;
}

// One level of the matcher: items that need no backtracking loop here;
// the others recurse.
const char* MatchLevel(MatchState& ms, const char* s, const char* p) {
    for (;;) {
        Tick(ms);
        bool plain = false;
        switch (*p) {
        case '(':
            if (*(p + 1) == ')') return StartCapture(ms, s, p + 2, kCapPosition);
            return StartCapture(ms, s, p + 1, kCapUnfinished);
        case ')': return EndCapture(ms, s, p + 1);
        case '\0': return s;  // end of the pattern
        case '$':
            if (*(p + 1) == '\0') return s == ms.srcEnd ? s : nullptr;
            plain = true;
            break;
        case kEscape:
            if (*(p + 1) == 'b') {
                s = MatchBalance(ms, s, p + 2);
                if (s == nullptr) return nullptr;
                p += 4;
                continue;
            }
            if (*(p + 1) == 'f') {
                p += 2;
                if (*p != '[') luaL_error(ms.L, "missing '[' after '%%f' in pattern");
                const char* ep = ClassEnd(ms, p);
                const char previous = s == ms.srcInit ? '\0' : *(s - 1);
                const char current = s < ms.srcEnd ? *s : '\0';
                if (MatchBracketClass(Byte(previous), p, ep - 1) || !MatchBracketClass(Byte(current), p, ep - 1))
                    return nullptr;
                p = ep;
                continue;
            }
            if (isdigit(Byte(*(p + 1)))) {
                s = MatchCapture(ms, s, Byte(*(p + 1)));
                if (s == nullptr) return nullptr;
                p += 2;
                continue;
            }
            plain = true;
            break;
        default: plain = true; break;
        }
        if (!plain) continue;
        const char* ep = ClassEnd(ms, p);
        const bool m = s < ms.srcEnd && SingleMatch(Byte(*s), p, ep);
        switch (*ep) {
        case '?': {
            const char* res = nullptr;
            if (m && (res = Match(ms, s + 1, ep + 1)) != nullptr) return res;
            p = ep + 1;
            continue;
        }
        case '*': return MaxExpand(ms, s, p, ep);
        case '+': return m ? MaxExpand(ms, s + 1, p, ep) : nullptr;
        case '-': return MinExpand(ms, s, p, ep);
        default:
            if (!m) return nullptr;
            s++;
            p = ep;
            continue;
        }
    }
}

const char* Match(MatchState& ms, const char* s, const char* p) {
    if (++ms.depth > kMaxDepth) luaL_error(ms.L, "pattern too complex");
    const char* res = MatchLevel(ms, s, p);
    ms.depth--;
    return res;
}

void PushOneCapture(MatchState& ms, int i, const char* s, const char* e) {
    if (i >= ms.level) {
        if (i == 0) {
            lua_pushlstring(ms.L, s, static_cast<std::size_t>(e - s));  // the whole match
        } else {
            luaL_error(ms.L, "invalid capture index");
        }
        return;
    }
    const std::ptrdiff_t l = ms.capture[i].len;
    if (l == kCapUnfinished) luaL_error(ms.L, "unfinished capture");
    if (l == kCapPosition) {
        lua_pushinteger(ms.L, ms.capture[i].init - ms.srcInit + 1);
    } else {
        lua_pushlstring(ms.L, ms.capture[i].init, static_cast<std::size_t>(l));
    }
}

int PushCaptures(MatchState& ms, const char* s, const char* e) {
    const int levels = (ms.level == 0 && s != nullptr) ? 1 : ms.level;
    luaL_checkstack(ms.L, levels, "too many captures");
    for (int i = 0; i < levels; i++) PushOneCapture(ms, i, s, e);
    return levels;
}

// A plain search that counts the bytes it compares.
const char* FindPlain(MatchState& ms, const char* s1, std::size_t l1, const char* s2, std::size_t l2) {
    if (l2 == 0) return s1;
    if (l2 > l1) return nullptr;
    l2--;  // the first byte is found by memchr
    l1 = l1 - l2;
    const char* init = nullptr;
    while (l1 > 0 && (init = static_cast<const char*>(std::memchr(s1, *s2, l1))) != nullptr) {
        init++;
        Tick(ms, 1 + l2 / 16);
        if (std::memcmp(init, s2 + 1, l2) == 0) return init - 1;
        l1 -= static_cast<std::size_t>(init - s1);
        s1 = init;
    }
    return nullptr;
}

std::ptrdiff_t RelativePosition(lua_Integer pos, std::size_t length) {
    if (pos < 0) pos += static_cast<lua_Integer>(length) + 1;
    return pos >= 0 ? static_cast<std::ptrdiff_t>(pos) : 0;
}

int FindAux(lua_State* L, bool find) {
    std::size_t l1 = 0, l2 = 0;
    const char* s = luaL_checklstring(L, 1, &l1);
    const char* p = luaL_checklstring(L, 2, &l2);
    std::ptrdiff_t init = RelativePosition(luaL_optinteger(L, 3, 1), l1) - 1;
    if (init < 0) {
        init = 0;
    } else if (static_cast<std::size_t>(init) > l1) {
        init = static_cast<std::ptrdiff_t>(l1);
    }
    MatchState ms;
    Start(ms, L, s, l1);
    if (find && (lua_toboolean(L, 4) != 0 || std::strpbrk(p, kSpecials) == nullptr)) {
        const char* s2 = FindPlain(ms, s + init, l1 - static_cast<std::size_t>(init), p, l2);
        if (s2 != nullptr) {
            lua_pushinteger(L, s2 - s + 1);
            lua_pushinteger(L, static_cast<lua_Integer>(s2 - s + static_cast<std::ptrdiff_t>(l2)));
            return 2;
        }
    } else {
        const bool anchor = *p == '^';
        if (anchor) p++;
        const char* s1 = s + init;
        do {
            ms.level = 0;
            ms.depth = 0;
            const char* res = Match(ms, s1, p);
            if (res != nullptr) {
                if (find) {
                    lua_pushinteger(L, s1 - s + 1);  // start
                    lua_pushinteger(L, res - s);     // end
                    return PushCaptures(ms, nullptr, nullptr) + 2;
                }
                return PushCaptures(ms, s1, res);
            }
        } while (s1++ < ms.srcEnd && !anchor);
    }
    lua_pushnil(L);
    return 1;
}

int Find(lua_State* L) { return FindAux(L, true); }
int MatchFn(lua_State* L) { return FindAux(L, false); }

int GmatchAux(lua_State* L) {
    std::size_t ls = 0;
    const char* s = lua_tolstring(L, lua_upvalueindex(1), &ls);
    const char* p = lua_tostring(L, lua_upvalueindex(2));
    MatchState ms;
    Start(ms, L, s, ls);
    for (const char* src = s + static_cast<std::size_t>(lua_tointeger(L, lua_upvalueindex(3))); src <= ms.srcEnd;
         src++) {
        ms.level = 0;
        ms.depth = 0;
        const char* e = Match(ms, src, p);
        if (e != nullptr) {
            lua_Integer newStart = e - s;
            if (e == src) newStart++;  // an empty match: go on at least one position
            lua_pushinteger(L, newStart);
            lua_replace(L, lua_upvalueindex(3));
            return PushCaptures(ms, src, e);
        }
    }
    return 0;  // not found
}

int Gmatch(lua_State* L) {
    luaL_checkstring(L, 1);
    luaL_checkstring(L, 2);
    lua_settop(L, 2);
    lua_pushinteger(L, 0);
    lua_pushcclosure(L, &GmatchAux, 3);
    return 1;
}

void AddReplacementText(MatchState& ms, luaL_Buffer* b, const char* s, const char* e) {
    std::size_t l = 0;
    const char* news = lua_tolstring(ms.L, 3, &l);
    for (std::size_t i = 0; i < l; i++) {
        if (news[i] != kEscape) {
            luaL_addchar(b, news[i]);
            continue;
        }
        i++;  // skip the escape (the text's closing NUL when it ends with one)
        if (!isdigit(Byte(news[i]))) {
            luaL_addchar(b, news[i]);
        } else if (news[i] == '0') {
            luaL_addlstring(b, s, static_cast<std::size_t>(e - s));
        } else {
            PushOneCapture(ms, news[i] - '1', s, e);
            luaL_addvalue(b);  // add the capture to the result
        }
    }
}

void AddValue(MatchState& ms, luaL_Buffer* b, const char* s, const char* e) {
    lua_State* L = ms.L;
    switch (lua_type(L, 3)) {
    case LUA_TNUMBER:
    case LUA_TSTRING: AddReplacementText(ms, b, s, e); return;
    case LUA_TFUNCTION: {
        lua_pushvalue(L, 3);
        const int n = PushCaptures(ms, s, e);
        lua_call(L, n, 1);
        break;
    }
    case LUA_TTABLE:
        PushOneCapture(ms, 0, s, e);
        lua_gettable(L, 3);
        break;
    default: break;
    }
    if (lua_toboolean(L, -1) == 0) {  // nil or false: keep the original text
        lua_pop(L, 1);
        lua_pushlstring(L, s, static_cast<std::size_t>(e - s));
    } else if (lua_isstring(L, -1) == 0) {
        luaL_error(L, "invalid replacement value (a %s)", luaL_typename(L, -1));
    }
    luaL_addvalue(b);
}

int Gsub(lua_State* L) {
    std::size_t srcl = 0;
    const char* src = luaL_checklstring(L, 1, &srcl);
    const char* p = luaL_checkstring(L, 2);
    const int tr = lua_type(L, 3);
    const int maxS = luaL_optint(L, 4, static_cast<int>(srcl) + 1);
    const bool anchor = *p == '^';
    if (anchor) p++;
    luaL_argcheck(L, tr == LUA_TNUMBER || tr == LUA_TSTRING || tr == LUA_TFUNCTION || tr == LUA_TTABLE, 3,
                  "string/function/table expected");
    luaL_Buffer b;
    luaL_buffinit(L, &b);
    MatchState ms;
    Start(ms, L, src, srcl);
    int n = 0;
    while (n < maxS) {
        ms.level = 0;
        ms.depth = 0;
        const char* e = Match(ms, src, p);
        if (e != nullptr) {
            n++;
            AddValue(ms, &b, src, e);
        }
        if (e != nullptr && e > src) {
            src = e;
        } else if (src < ms.srcEnd) {
            luaL_addchar(&b, *src++);
        } else {
            break;
        }
        if (anchor) break;
    }
    luaL_addlstring(&b, src, static_cast<std::size_t>(ms.srcEnd - src));
    luaL_pushresult(&b);
    lua_pushinteger(L, n);
    return 2;
}

}  // namespace

void InstallSafePatterns(lua_State* L) {
    const luaL_Reg functions[] = {
        {"find", &Find}, {"match", &MatchFn}, {"gmatch", &Gmatch}, {"gfind", &Gmatch}, {"gsub", &Gsub},
    };
    for (const luaL_Reg& f : functions) {
        lua_pushcfunction(L, f.func);
        lua_setfield(L, -2, f.name);
    }
}
