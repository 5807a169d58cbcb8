#include "gameplay/monster.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "core/file_bytes.h"
#include "core/json_writer.h"
#include "gameplay/data_tables.h"
#include "platform/fonts.h"
#include "shared/gbk.h"
#include "shared/paths.h"
#include "world/camera.h"

namespace {

constexpr std::size_t kMaxTextBytes = 256 * 1024;
constexpr int kDefaultDuration = 10;

std::string ReadText(const paths::DataPaths& dataPaths, const std::string& gbkPath) {
    std::optional<std::string> bytes = ReadFileBytes(dataPaths.Resolve(gbkPath), kMaxTextBytes);
    return bytes ? *bytes : std::string();
}

// "*.png" files in a folder; 0 when it is missing.
int CountFrames(const std::string& fsFolder) {
    std::error_code ec;
    int n = 0;
    for (std::filesystem::directory_iterator it(fsFolder, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() == ".png") ++n;
    }
    return n;
}

}  // namespace

const std::array<const char*, Monster::kMaxStates + 1>& Monster::StateFolders() {
    static const std::array<const char*, kMaxStates + 1> kFolders{
        "", "原地", "走动_慢", "走动_快", "攻击", "被攻击", "死亡", "攻击2", "攻击3"};
    return kFolders;
}

void Monster::CreateFromRow(int number, const MonsterRow& row, int groundNumber, const wdm::GroundRecord& ground,
                            const wdm::MonsterDetail& detail) {
    m_number = number;
    m_homeGround = groundNumber;
    name = row.name;
    m_folder = row.folder;
    m_scriptFile = row.scriptFile;
    attack = static_cast<int>(row.attack);
    defence = static_cast<int>(row.defence);
    experience = row.experience;
    kind = std::clamp(row.kind, 0, 2);
    stateCount = kind == 2 ? 8 : 6;
    width = row.width;
    height = row.height;
    hp = {std::max(1, static_cast<int>(row.hitPoints)), std::max(1, static_cast<int>(row.hitPoints))};
    homeLeft = static_cast<float>(ground.left);
    homeTop = static_cast<float>(ground.top);
    homeWidth = static_cast<float>(ground.width);
    x = homeLeft + static_cast<float>(detail.offset);
    if (x + static_cast<float>(width) > homeLeft + homeWidth) x = homeLeft + homeWidth - static_cast<float>(width);
    y = homeTop - static_cast<float>(height);
    if (detail.hasFlyingLimits) {
        y -= static_cast<float>(detail.flyTopOffset);
        if (detail.flyLowestTop > 0) SetFloor(static_cast<float>(detail.flyLowestTop + height));
    }
    state = previousState = kWalk;
    direction = lastDirection = 0;
    gone = 0;
    speed = kind == 2 ? 3.0f : 1.0f;
    ApplyFacing();
}

void Monster::Init(FrameCache& cache, const paths::DataPaths& dataPaths, int listIndex) {
    index = listIndex;
    const std::string base = gbk::Lit("\\data\\怪物\\") + m_folder + "\\";
    for (int k = 1; k <= stateCount; ++k) {
        const std::string folder = base + gbk::Lit(StateFolders()[static_cast<std::size_t>(k)]) + "\\";
        const int count = CountFrames(dataPaths.Resolve(folder));
        lastFrame[static_cast<std::size_t>(k)] = count;
        if (count > 0) animations[static_cast<std::size_t>(k)].Load(cache, folder, count, true);
    }
    InitFromTexts(ReadText(dataPaths, base + gbk::Lit("怪物帧率.txt")), ReadText(dataPaths, base + gbk::Lit("数据.txt")),
                  ReadText(dataPaths, gbk::Lit("\\data\\脚本\\Monster\\") + m_scriptFile),
                  ReadText(dataPaths, gbk::Lit("\\data\\掉宝\\") + name + ".txt"));
}

void Monster::InitFromTexts(std::string_view frameRates, std::string_view data, std::string script,
                            std::string_view drops) {
    const std::vector<std::string> rates = combat::SplitLines(frameRates);
    for (int k = 1; k <= stateCount; ++k)
        frameDuration[static_cast<std::size_t>(k)] =
            std::clamp(combat::LineNumber(rates, static_cast<std::size_t>(k - 1), kDefaultDuration), 0, 10000);
    const std::vector<std::string> numbers = combat::SplitLines(data);
    detectRange = combat::LineNumber(numbers, 0, 0);
    hitFrameFirst = combat::LineNumber(numbers, 1, 0);
    hitFrameLast = combat::LineNumber(numbers, 2, 0);
    deathScript = std::move(script);
    dropLines = combat::ParseDropTable(drops);
}

combat::Rect Monster::FrameRect(const Camera& camera) const {
    const FrameAnimation& a = animations[static_cast<std::size_t>(state)];
    const FrameInfo f = a.Frame(a.CurrentFrame());
    if (f.width <= 0 || f.height <= 0)
        return {x, y, static_cast<float>(width), static_cast<float>(height)};
    // A mirrored frame extends to the left of its draw position.
    const float left = m_mirrored ? a.DrawX() - static_cast<float>(f.width) : a.DrawX();
    return {left - camera.offsetX, a.DrawY() - camera.offsetY, static_cast<float>(f.width),
            static_cast<float>(f.height)};
}

void Monster::Draw(const MonsterDraw& d) {
    if (gone != 0) return;
    const float sx = d.camera.offsetX + x, sy = d.camera.offsetY + y;
    if (sx + static_cast<float>(width) <= 0 || sx >= d.screenWidth || sy + static_cast<float>(height) <= 0 ||
        sy >= d.screenHeight)
        return;
    FrameAnimation& a = animations[static_cast<std::size_t>(state)];
    if (a.loaded() && lastFrame[static_cast<std::size_t>(state)] > 0) a.Draw();
    const float centre = sx + static_cast<float>(width) / 2;
    if (d.art != nullptr) {
        MonsterArt& art = *d.art;
        const float textWidth = d.font ? d.font->TextWidth(name) : 0;
        const float middle = art.plateWidth[1] + textWidth;
        const float px = centre - (art.plateWidth[0] + middle + art.plateWidth[2]) / 2, py = sy - 20;
        art.plate[0].Render(px, py);
        art.plate[1].RenderStretch(px + art.plateWidth[0], py, px + art.plateWidth[0] + middle, py + art.plateHeight);
        art.plate[2].Render(px + art.plateWidth[0] + middle, py);
        if (d.font) {
            d.font->SetColour(0xFF000000);
            d.font->Print(centre - textWidth / 2, sy - 18, name);
        }
        if (state != kDying && hp[0] != hp[1]) {
            const float bx = sx + (static_cast<float>(width) - kHealthBarWidth) / 2, by = sy - 30;
            art.barFrame.Render(bx, by);
            const int fill = std::max(0, static_cast<int>(kHealthBarWidth * static_cast<float>(hp[0]) /
                                                          static_cast<float>(std::max(1, hp[1]))));
            art.barFill.SetTextureRect(0, 0, static_cast<float>(fill), art.barFillHeight);
            art.barFill.Render(bx, by);
        }
    }
}

bool Monster::ShowsHealthBar() const { return gone == 0 && state != kDying && hp[0] != hp[1]; }

void Monster::DumpState(JsonWriter& w) const {
    w.BeginObject();
    w.Field("number", m_number);
    w.Field("index", index);
    w.Field("name", name);
    w.Field("kind", kind);
    w.Field("homeGround", m_homeGround);
    w.Field("x", x);
    w.Field("y", y);
    w.Field("width", width);
    w.Field("height", height);
    w.Field("state", state);
    w.Field("direction", direction);
    w.Field("lastDirection", lastDirection);
    w.Field("flipOffset", flipOffset);
    w.Field("mirrored", m_mirrored);
    w.Field("hp", hp[0]);
    w.Field("maxHp", hp[1]);
    w.Field("gone", gone);
    w.Field("hurtTimer", hurtTimer);
    w.Field("engaged", engaged);
    w.Field("strikeLaunched", strikeLaunched);
    w.Field("frames", lastFrame[static_cast<std::size_t>(kWalk)]);
    w.Field("detectRange", detectRange);
    w.Field("dropLines", static_cast<int>(dropLines.size()));
    w.Field("hasDeathScript", !deathScript.empty());
    w.Field("healthBar", ShowsHealthBar());
    w.EndObject();
}
