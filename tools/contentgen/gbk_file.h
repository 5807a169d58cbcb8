#pragma once
// Conversion of the content's UTF-8 text sources to the GBK files the game
// reads.

#include <string>
#include <string_view>

namespace contentgen {

// Converts UTF-8 `text` to GBK. Fails, with `error` naming the line, column
// and character, on invalid UTF-8 or on a character GBK cannot hold; a
// leading byte-order mark is dropped.
bool Utf8ToGbkStrict(std::string_view text, std::string* gbkOut, std::string* error);

// Reads `inPath` (UTF-8), converts it and writes `outPath` (GBK) through a
// temporary file beside it. On failure nothing is left at `outPath`'s
// temporary name and `error` says why.
bool ConvertFileToGbk(const std::string& inPath, const std::string& outPath, std::string* error);

}  // namespace contentgen
