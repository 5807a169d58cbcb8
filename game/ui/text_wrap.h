#pragma once
// Breaking GBK text into lines for the windows: at every "\n" (a "\r"
// before it is dropped) and wherever a line would pass `maxBytes`, never
// inside a two-byte character. An empty text gives no lines.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

std::vector<std::string> WrapText(std::string_view gbkText, std::size_t maxBytes);
