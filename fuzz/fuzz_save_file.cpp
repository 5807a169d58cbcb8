// Fuzzer bytes -> a save file, read as loading a slot reads it: the JSON is
// parsed and checked against the item and skill tables before anything of it
// is used, then the saved generator state is put into a generator and
// drawn from, as loading the saved map does.
//
// Properties checked besides "no crash, no leak, no hang": a refused file
// names what is wrong and gives no save; a good one holds only plain map
// names, items and skills that match the tables (the rest listed as
// dropped), and writes back to a file that reads back the same; a generator
// state it accepts draws numbers within the asked range.

#include "core/random.h"
#include "gameplay/data_tables.h"
#include "gameplay/save_format.h"
#include "shared/gbk.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void Fail(const char* what, long value) {
    std::fprintf(stderr, "fuzz_save_file: %s (%ld)\n", what, value);
    std::abort();
}

const DataTables& Tables() {
    static const DataTables tables = [] {
        DataTables t;
        for (const char* name : {"木剑", "红药水", "铁剑"}) {
            ItemRow row;
            row.name = gbk::Lit(name);
            t.items.Append(row);
        }
        for (const char* name : {"重击", "雷电术"}) {
            SkillRow row;
            row.name = gbk::Lit(name);
            t.skills.Append(row);
        }
        for (int i = 0; i < 3; ++i) t.AppendNpc(NpcRow{});
        return t;
    }();
    return tables;
}

template <typename Table>
void CheckRef(const SavedRef& ref, const Table& table) {
    if (ref.number == 0) {
        if (!ref.name.empty()) Fail("empty cell with a name", 0);
        return;
    }
    const auto* row = table.At(ref.number);
    if (row == nullptr || row->name != ref.name) Fail("cell that does not match its table", ref.number);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const DataTables& tables = Tables();
    const SaveReadResult r = ReadSaveJson(text, tables);
    if (!r.save) {
        if (r.error.empty()) Fail("refused without a reason", 0);
        return 0;
    }
    if (!r.error.empty() || r.newerFormat) Fail("accepted with an error", 0);
    const SaveGame& s = *r.save;
    if (!IsPlainMapFileName(s.mapFile)) Fail("map name", 0);
    for (const SavedRef& ref : s.bag) CheckRef(ref, tables.items);
    for (const SavedRef& ref : s.equipment) CheckRef(ref, tables.items);
    for (const SavedRef& ref : s.shop) CheckRef(ref, tables.items);
    for (const SavedSkill& k : s.skills) CheckRef(k.skill, tables.skills);
    for (const SavedRef& ref : s.bar) CheckRef(ref, tables.skills);
    if (s.chat.size() > SaveGame::kChatLines) Fail("chat lines", static_cast<long>(s.chat.size()));

    // Written back, the save reads back the same.
    const std::string written = WriteSaveJson(s);
    const SaveReadResult again = ReadSaveJson(written, tables);
    if (!again.save) {
        std::fprintf(stderr, "%s\n%s\n", again.error.c_str(), written.c_str());
        Fail("a written save is refused", 0);
    }
    if (!again.dropped.empty()) Fail("a written save drops cells", static_cast<long>(again.dropped.size()));
    if (WriteSaveJson(*again.save) != written) Fail("a written save reads back different", 0);

    // The map load draws from the saved generator.
    if (!s.mapRandomState.empty()) {
        Random random;
        if (!random.SetState(s.mapRandomState)) Fail("accepted generator state refused", 0);
        for (int i = 0; i < 64; ++i) {
            const int v = random.Int(0, 2);
            if (v < 0 || v > 2) Fail("generator draw out of range", v);
            const int w = random.Int(-5, 1000);
            if (w < -5 || w > 1000) Fail("generator draw out of range", w);
        }
    }
    return 0;
}
