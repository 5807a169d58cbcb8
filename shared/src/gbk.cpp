#include "shared/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <memory>
#include <unordered_map>

namespace gbk {
namespace {

// One converter per direction and thread, opened on first use.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (m_cd != reinterpret_cast<iconv_t>(-1)) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`; at every byte that cannot be converted, appends
    // `replacement`, skips one byte and goes on.
    std::string Run(std::string_view in, std::string_view replacement) {
        std::string out;
        if (m_cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
        out.reserve(in.size() * 3 / 2 + 4);
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buffer[1024];
        while (srcLeft > 0) {
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            std::size_t r = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (r != static_cast<std::size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL (truncated at the end): replace one byte.
            out.append(replacement);
            ++src;
            --srcLeft;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t m_cd;
};

Converter& GbkToUtf8() {
    thread_local Converter c("UTF-8", "GBK");
    return c;
}
Converter& Utf8ToGbk() {
    thread_local Converter c("GBK", "UTF-8");
    return c;
}

}  // namespace

std::size_t CharLength(std::string_view text, std::size_t i) {
    if (i + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[i]))) return 2;
    return 1;
}

std::string ToUtf8(std::string_view gbkText) { return GbkToUtf8().Run(gbkText, "\xEF\xBF\xBD"); }

std::string FromUtf8(std::string_view utf8Text) {
    // An invalid UTF-8 sequence or an unmappable character may span several
    // bytes; the converter replaces byte by byte, so collapse what belongs
    // to one UTF-8 character into one '?'.
    std::string out;
    out.reserve(utf8Text.size());
    std::size_t i = 0;
    while (i < utf8Text.size()) {
        unsigned char c = static_cast<unsigned char>(utf8Text[i]);
        std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
        if (i + n > utf8Text.size()) n = 1;
        for (std::size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(utf8Text[i + k]) & 0xC0) != 0x80) n = 1;
        }
        if (n == 1) {
            out += c < 0x80 ? static_cast<char>(c) : '?';
        } else {
            std::string piece = Utf8ToGbk().Run(utf8Text.substr(i, n), "\x01");
            out += piece.find('\x01') == std::string::npos ? piece : std::string("?");
        }
        i += n;
    }
    return out;
}

const std::string& Lit(std::string_view utf8Literal) {
    // Keyed by content: the same literal from two translation units shares
    // one entry. Node-based map, so references stay valid as it grows.
    thread_local std::unordered_map<std::string, std::unique_ptr<std::string>> cache;
    auto it = cache.find(std::string(utf8Literal));
    if (it == cache.end()) {
        it = cache.emplace(std::string(utf8Literal), std::make_unique<std::string>(FromUtf8(utf8Literal))).first;
    }
    return *it->second;
}

std::size_t Find(std::string_view text, std::string_view needle, std::size_t from) {
    if (from > text.size()) return npos;
    if (needle.empty()) return from;
    // Walk from the start so we always know where characters begin.
    std::size_t i = 0;
    while (i < from) i += CharLength(text, i);
    for (; i + needle.size() <= text.size(); i += CharLength(text, i)) {
        if (text.compare(i, needle.size(), needle) == 0) return i;
    }
    return npos;
}

namespace {

// Calls onMatch(at) for every character-aligned occurrence of `needle`, left
// to right, never overlapping; one pass over the text.
template <typename OnMatch>
void ForEachMatch(std::string_view text, std::string_view needle, OnMatch onMatch) {
    std::size_t i = 0;
    while (i + needle.size() <= text.size()) {
        if (text.compare(i, needle.size(), needle) == 0) {
            onMatch(i);
            const std::size_t end = i + needle.size();
            while (i < end) i += CharLength(text, i);
        } else {
            i += CharLength(text, i);
        }
    }
}

}  // namespace

std::vector<std::string> Split(std::string_view text, std::string_view sep) {
    std::vector<std::string> fields;
    if (sep.empty()) {
        fields.emplace_back(text);
        return fields;
    }
    std::size_t start = 0;
    ForEachMatch(text, sep, [&](std::size_t at) {
        fields.emplace_back(text.substr(start, at - start));
        start = at + sep.size();
    });
    fields.emplace_back(text.substr(start));
    return fields;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    ForEachMatch(text, from, [&](std::size_t at) {
        out.append(text.substr(start, at - start));
        out.append(to);
        start = at + from.size();
    });
    out.append(text.substr(start));
    return out;
}

int ToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

double ToReal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::size_t end = i;
    if (end < text.size() && (text[end] == '-' || text[end] == '+')) ++end;
    while (end < text.size() && ((text[end] >= '0' && text[end] <= '9') || text[end] == '.' ||
                                 text[end] == 'e' || text[end] == 'E' ||
                                 ((text[end] == '-' || text[end] == '+') && (text[end - 1] == 'e' || text[end - 1] == 'E')))) {
        ++end;
    }
    std::string_view number = text.substr(i, end - i);
    if (!number.empty() && number[0] == '+') number.remove_prefix(1);
    double value = 0;
    auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)ptr;
    if (ec != std::errc() || !std::isfinite(value)) return 0;
    return value;
}

std::string NumberToText(double value) {
    if (!std::isfinite(value)) return "0";
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        return std::to_string(static_cast<long long>(value));
    }
    char buffer[64];
    auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc()) return "0";
    return std::string(buffer, ptr);
}

}  // namespace gbk
