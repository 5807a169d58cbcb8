#pragma once
// GBK text helpers shared by the game, the editor and the tools.
//
// All user-visible text inside the programs is GBK (code page 936) kept in
// std::string as raw bytes. GBK is a double-byte code: a lead byte 0x81..0xFE
// is followed by a trail byte 0x40..0xFE, and trail bytes include ASCII
// values such as '\\' (0x5C) and '|' (0x7C). Every search here therefore
// walks the text character by character and never matches starting on a
// trail byte.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace gbk {

inline constexpr std::size_t npos = std::string_view::npos;

// True for a byte that starts a two-byte GBK character.
constexpr bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Length in bytes of the character starting at text[i] (1 or 2). A lead byte
// at the very end of the text counts as a single byte.
std::size_t CharLength(std::string_view text, std::size_t i);

// GBK -> UTF-8. Invalid or truncated sequences become U+FFFD and conversion
// goes on with the next byte; the result never loses the rest of the text.
std::string ToUtf8(std::string_view gbkText);

// UTF-8 -> GBK. Characters GBK cannot hold, and invalid UTF-8, become '?'.
std::string FromUtf8(std::string_view utf8Text);

// The program's own texts, written as UTF-8 literals in the source, in GBK.
// The result is converted once and kept for the life of the process, so the
// reference stays valid. Use for captions, messages and command names.
const std::string& Lit(std::string_view utf8Literal);

// Byte length (a Chinese character counts 2).
inline std::size_t ByteLength(std::string_view text) { return text.size(); }

// First occurrence of `needle` at or after byte `from` that starts on a
// character boundary, or npos. An empty needle matches at `from`.
std::size_t Find(std::string_view text, std::string_view needle, std::size_t from = 0);

// Splits on every occurrence of `sep` (character-aligned). An empty text
// gives one empty field; "a|" gives {"a", ""}. An empty separator gives the
// whole text as one field.
std::vector<std::string> Split(std::string_view text, std::string_view sep);

// Replaces every character-aligned occurrence of `from`, left to right,
// without re-scanning replaced text.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// Lenient text to integer: optional blanks, optional sign, then digits up to
// the first non-digit. "12.5" -> 12, "" -> 0, "abc" -> 0, "-1" -> -1.
// Values beyond the int range are clamped.
int ToInt(std::string_view text);

// Lenient text to real: like ToInt but with a fraction; "" -> 0. The result
// is always finite: a value beyond the double range ("1e999") gives 0.
double ToReal(std::string_view text);

// Number to text: integral values carry no decimal point ("3", "-12"),
// others use the shortest form that reads back to the same value ("2.5").
std::string NumberToText(double value);

}  // namespace gbk
