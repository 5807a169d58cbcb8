#include "platform/frame_cache.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>

#include "core/asset_log.h"
#include "platform/engine.h"
#include "shared/gbk.h"
#include "shared/paths.h"

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

bool ParseReal(std::string_view s, double& out) {
    s = Trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return !s.empty() && ec == std::errc() && p == s.data() + s.size() && std::isfinite(out);
}

std::string ReadSmallFile(const std::string& fsPath) {
    std::ifstream in(fsPath, std::ios::binary);
    if (!in) return {};
    std::string text;
    char buf[256];
    // Info files are one short line; anything past 4 KiB is not an info file.
    while (in && text.size() < 4096) {
        in.read(buf, sizeof buf);
        text.append(buf, static_cast<std::size_t>(in.gcount()));
    }
    return text;
}

// A trail byte of a Chinese character may be 0x5C, so the last character is
// found by walking the text.
bool EndsWithSeparator(std::string_view s) {
    std::size_t i = 0, last = gbk::npos;
    while (i < s.size()) {
        last = i;
        i += gbk::CharLength(s, i);
    }
    return last != gbk::npos && s.size() - last == 1 && s[last] == '\\';
}

}  // namespace

bool ParseFrameInfo(const std::string& text, FrameInfo& out) {
    std::string_view line = text;
    std::size_t nl = line.find('\n');
    if (nl != std::string_view::npos) line = line.substr(0, nl);
    std::vector<std::string> fields = gbk::Split(line, ",");
    if (fields.size() < 4) return false;
    double v[4];
    for (int i = 0; i < 4; ++i) {
        if (!ParseReal(fields[static_cast<std::size_t>(i)], v[i])) return false;
    }
    constexpr double kMaxOffset = 100000.0;
    constexpr double kMaxSize = 16384.0;
    if (std::fabs(v[0]) > kMaxOffset || std::fabs(v[1]) > kMaxOffset) return false;
    if (v[2] < 0 || v[3] < 0 || v[2] > kMaxSize || v[3] > kMaxSize) return false;
    out.offsetX = static_cast<float>(v[0]);
    out.offsetY = static_cast<float>(v[1]);
    out.width = static_cast<int>(v[2]);
    out.height = static_cast<int>(v[3]);
    return true;
}

bool ReadFrameInfo(const paths::DataPaths& dataPaths, const std::string& gbkPicturePath, FrameInfo& out) {
    const std::string fsPath = dataPaths.Resolve(gbkPicturePath + ".info.txt");
    if (ParseFrameInfo(ReadSmallFile(fsPath), out)) return true;
    asset_log::CannotLoad("frame information", fsPath);
    return false;
}

FrameInfo LoadFrame(Engine& engine, const paths::DataPaths& dataPaths, const std::string& gbkPicturePath) {
    FrameInfo f;
    // Frames of characters and effects are mostly empty margin around the
    // figure; a trimmed texture keeps their sizes and fills only the figure.
    f.texture = engine.LoadTrimmedTexture(dataPaths.Resolve(gbkPicturePath));
    f.textureWidth = engine.TextureWidth(f.texture);
    f.textureHeight = engine.TextureHeight(f.texture);
    if (!ReadFrameInfo(dataPaths, gbkPicturePath, f)) {
        f.offsetX = f.offsetY = 0;
        f.width = f.textureWidth;
        f.height = f.textureHeight;
    }
    return f;
}

std::shared_ptr<const FrameSet> FrameCache::Folder(const std::string& gbkFolder, int count, bool useCache) {
    if (count < 0) count = 0;
    if (useCache) {
        for (const auto& entry : m_entries) {
            if (entry->folder == gbkFolder && entry->frames.size() >= static_cast<std::size_t>(count)) return entry;
        }
    }
    auto set = std::make_shared<FrameSet>();
    set->folder = gbkFolder;
    std::string prefix = gbkFolder;
    if (!EndsWithSeparator(prefix)) prefix += '\\';
    set->frames.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        set->frames.push_back(LoadFrame(m_engine, m_paths, prefix + std::to_string(i) + ".png"));
    }
    ++m_diskLoads;
    if (useCache) m_entries.push_back(set);
    return set;
}
