#pragma once
// Writes generated files under the output (data) folder. Relative names are
// UTF-8 with '/' separators ("效果/命中/0.png"); folders are created on demand.
// A write that fails is remembered, so the program can exit non-zero.

#include "canvas.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace contentgen {

class Output {
public:
    explicit Output(std::filesystem::path root);

    const std::filesystem::path& root() const { return m_root; }
    std::filesystem::path PathOf(std::string_view relative) const;

    void Png(std::string_view relative, const Canvas& picture);
    void Bytes(std::string_view relative, const std::vector<std::uint8_t>& data);
    void Text(std::string_view relative, std::string_view text);

    // One frame of a frame folder: "<folder>/<index>.png" and beside it
    // "<folder>/<index>.png.info.txt" holding "ox,oy,w,h": the frame is drawn
    // with its top-left at (anchor.x - ox, anchor.y + oy), so (ox, -oy) is
    // the anchor point inside the picture.
    void Frame(std::string_view folder, int index, const Canvas& picture, double ox, double oy);

    int failures() const { return m_failures; }
    int filesWritten() const { return m_files; }

private:
    bool Prepare(const std::filesystem::path& file);

    std::filesystem::path m_root;
    int m_failures = 0;
    int m_files = 0;
};

// The text of an info file for a frame ("12,-30,64,80").
std::string InfoText(double ox, double oy, int w, int h);

}  // namespace contentgen
