#include "output.h"

#include <cmath>
#include <cstdio>
#include <fstream>

namespace contentgen {

namespace fs = std::filesystem;

Output::Output(fs::path root) : m_root(std::move(root)) {}

fs::path Output::PathOf(std::string_view relative) const {
    // Relative names are UTF-8 bytes; build the path from them unchanged.
    return m_root / fs::path(std::string(relative));
}

bool Output::Prepare(const fs::path& file) {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    if (ec) {
        std::fprintf(stderr, "contentgen: cannot create %s: %s\n", file.parent_path().c_str(), ec.message().c_str());
        ++m_failures;
        return false;
    }
    return true;
}

void Output::Png(std::string_view relative, const Canvas& picture) {
    const fs::path p = PathOf(relative);
    if (!Prepare(p)) return;
    if (!picture.SavePng(p.string())) {
        std::fprintf(stderr, "contentgen: cannot write %s\n", p.c_str());
        ++m_failures;
        return;
    }
    ++m_files;
}

void Output::Bytes(std::string_view relative, const std::vector<std::uint8_t>& data) {
    const fs::path p = PathOf(relative);
    if (!Prepare(p)) return;
    std::ofstream f(p, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!f) {
        std::fprintf(stderr, "contentgen: cannot write %s\n", p.c_str());
        ++m_failures;
        return;
    }
    ++m_files;
}

void Output::Text(std::string_view relative, std::string_view text) {
    Bytes(relative, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::string InfoText(double ox, double oy, int w, int h) {
    auto num = [](double v) {
        char buf[32];
        if (std::fabs(v - std::round(v)) < 1e-9) std::snprintf(buf, sizeof buf, "%d", static_cast<int>(std::lround(v)));
        else std::snprintf(buf, sizeof buf, "%.1f", v);
        return std::string(buf);
    };
    return num(ox) + "," + num(oy) + "," + std::to_string(w) + "," + std::to_string(h);
}

void Output::Frame(std::string_view folder, int index, const Canvas& picture, double ox, double oy) {
    const std::string base = std::string(folder) + "/" + std::to_string(index) + ".png";
    Png(base, picture);
    Text(base + ".info.txt", InfoText(ox, oy, picture.width(), picture.height()));
}

}  // namespace contentgen
