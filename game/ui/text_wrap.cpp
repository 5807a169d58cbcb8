#include "ui/text_wrap.h"

#include "shared/gbk.h"

std::vector<std::string> WrapText(std::string_view gbkText, std::size_t maxBytes) {
    std::vector<std::string> lines;
    if (gbkText.empty()) return lines;
    if (maxBytes < 2) maxBytes = 2;
    std::string line;
    for (std::size_t i = 0; i < gbkText.size();) {
        if (gbkText[i] == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(std::move(line));
            line.clear();
            ++i;
            continue;
        }
        const std::size_t n = gbk::CharLength(gbkText, i);
        if (line.size() + n > maxBytes && !line.empty()) {
            lines.push_back(std::move(line));
            line.clear();
        }
        line.append(gbkText.substr(i, n));
        i += n;
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}
