#pragma once
// Map files (.Wdm): the records of one map and their file form, shared by the
// game (reads) and the editor (reads and writes).
//
// A map file is a GBK text of ten sections, enciphered as a whole:
//   0 header | 1 map sprites (layers 0 and -1) | 2 top layer (1) |
//   3 second background (2) | 4 third background (3) | 5 floating layer (4) |
//   6 squares | 7 slopes | 8 stairs | 9 events
// Sections end with the section marker (all but the last), records inside a
// section end with "><", fields are joined by "|", and an event's detail text
// joins its sub-fields with the sub-field separator. Every split is
// character-aligned (GBK), so a Chinese character whose trail byte is 0x7C or
// 0x5C never splits a field.
//
// All texts in the records are GBK bytes. Picture paths are kept as stored in
// the file (relative to the program folder, beginning with "\"); callers put
// the program folder in front when they load a picture.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wdm {

// ---------------------------------------------------------------------------
// Format bytes. These are byte strings of the file format, not texts; they are
// matched byte for byte (character-aligned).
// Section marker C0 5E E8 7A: in GBK the two characters "繼鑪".
inline constexpr std::string_view kSectionMarker{"\xC0\x5E\xE8\x7A", 4};
// Record end "><".
inline constexpr std::string_view kRecordEnd{"><", 2};
// Field separator "|".
inline constexpr std::string_view kFieldSeparator{"|", 1};
// Event detail sub-field separator E8 5C: in GBK the character "鑌".
inline constexpr std::string_view kSubFieldSeparator{"\xE8\x5C", 2};

// The fixed password of every map file.
inline constexpr std::string_view kPassword{"tk7qmz", 6};

// Files larger than this are refused unread.
inline constexpr std::size_t kMaxFileBytes = 64u * 1024u * 1024u;
// At most this many records (all sections together) are read from one file.
inline constexpr std::size_t kMaxRecords = 1000000;

// Boxes (grounds and events) narrower or lower than this are not written.
inline constexpr int kMinSavedBoxSize = 10;
inline bool IsSavedBox(int width, int height) {
    return width >= kMinSavedBoxSize && height >= kMinSavedBoxSize;
}

// ---------------------------------------------------------------------------
// Records.

struct MapHeader {
    int width = 800;
    int height = 600;
    int startGround = 0;     // 1-based square number
    int startOffset = 10;    // x offset on that square; -1 = random
    std::string background = "\\data\\map\\48.png";
    double floatInterval = 0;
    int townMap = 0;         // map table row; 0 = unset
    int townGround = 0;      // square number on the town map; 0 = unset
    int facing = 0;          // 0 default, 1 left, 2 right
    // How many fields the header had in the file (6..9; 9 for a header made
    // in memory). Older files lack the town and facing fields; the game then
    // keeps its previous town values and uses no header facing.
    int fieldCount = 9;
    bool hasTownMap() const { return fieldCount >= 7; }
    bool hasTownGround() const { return fieldCount >= 8; }
    bool hasFacing() const { return fieldCount >= 9; }
    bool operator==(const MapHeader&) const = default;
};

// Sprite layer values.
enum SpriteLayer : int {
    kLayerPriority = -1,   // map sprite drawn in front ("优先显示"), section 1
    kLayerMap = 0,         // section 1
    kLayerTop = 1,         // section 2
    kLayerBackground2 = 2, // section 3
    kLayerBackground3 = 3, // section 4
    kLayerFloating = 4,    // section 5
};

// zLevel values (drawing level inside a layer in the editor).
enum ZLevel : int { kZTop = 0, kZMiddle = 1, kZBottom = 2 };

struct SpriteRecord {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int layer = 0;
    std::string picture;   // GBK, as stored ("\data\map\a.png")
    bool mirrored = false;
    int zLevel = kZTop;    // older files: "真" reads as 0, "假" as 2
    bool operator==(const SpriteRecord&) const = default;
};

// Ground kinds: squares 0 normal / 1 blocking; slopes 0 left / 1 right;
// stairs 0.
struct GroundRecord {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int kind = 0;
    bool operator==(const GroundRecord&) const = default;
};

enum EventKind : int {
    kEventNpc = 1,
    kEventMonster = 2,
    kEventLink = 3,
    kEventAnimation = 4,
    kEventItem = 5,
};

struct EventRecord {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int kind = 0;
    std::string detail;    // GBK sub-fields joined by kSubFieldSeparator
    bool operator==(const EventRecord&) const = default;
};

// ---------------------------------------------------------------------------
// Parsed event details. Parse* read leniently (missing sub-fields read 0);
// Format* give the detail text the editor writes. Parse(Format(d)) == d.

struct NpcDetail {
    int npcId = 0;         // NPC table row
    int ground = 0;        // square number
    double offset = 0;     // x offset from the square's left edge
    bool operator==(const NpcDetail&) const = default;
};

struct MonsterDetail {
    int monsterId = 0;     // monster table row
    int ground = 0;
    double offset = 0;
    // Flying limits: only when the detail has five (or more) sub-fields.
    bool hasFlyingLimits = false;
    int flyTopOffset = 0;  // "地层偏顶"
    int flyLowestTop = 0;  // "最低顶边"
    bool operator==(const MonsterDetail&) const = default;
};

struct LinkDetail {
    int targetMap = 0;     // map table row; negative = no portal picture
    int targetGround = 0;  // 0 = the target map's startGround
    int targetOffset = 0;  // -1 = random
    bool jumpOnTouch = false;
    int facing = 0;        // 0 default, 1 left, 2 right
    bool operator==(const LinkDetail&) const = default;
};

struct AnimationDetail {
    int effectId = 0;
    int x = 0;
    int y = 0;
    std::string playMode;  // GBK "普通" or "往返"
    bool backAndForth() const;  // playMode is "往返"
    bool operator==(const AnimationDetail&) const = default;
};

struct ItemDetail {
    std::string name;      // GBK item name
    int count = 0;
    bool operator==(const ItemDetail&) const = default;
};

// The detail's sub-fields (character-aligned split; an empty detail gives
// one empty sub-field).
std::vector<std::string> DetailFields(std::string_view detail);
std::string JoinDetail(const std::vector<std::string>& fields);

NpcDetail ParseNpcDetail(std::string_view detail);
MonsterDetail ParseMonsterDetail(std::string_view detail);
// A single sub-field (or an empty detail) leads nowhere: map, ground and
// offset 0. Fewer than four sub-fields: not jump-on-touch; fewer than five:
// facing 0.
LinkDetail ParseLinkDetail(std::string_view detail);
AnimationDetail ParseAnimationDetail(std::string_view detail);
ItemDetail ParseItemDetail(std::string_view detail);

std::string FormatDetail(const NpcDetail& d);      // 3 sub-fields
std::string FormatDetail(const MonsterDetail& d);  // 3, or 5 with flying limits
std::string FormatDetail(const LinkDetail& d);     // 5 sub-fields
std::string FormatDetail(const AnimationDetail& d);// 4 sub-fields
std::string FormatDetail(const ItemDetail& d);     // 2 sub-fields

// ---------------------------------------------------------------------------
// One map.

inline constexpr int kSpriteSections = 5;

struct MapData {
    MapHeader header;
    // Sprite lists of sections 1..5 (index 0..4), each in file order.
    std::array<std::vector<SpriteRecord>, kSpriteSections> sprites;
    std::vector<GroundRecord> squares;  // square number = index + 1
    std::vector<GroundRecord> slopes;
    std::vector<GroundRecord> stairs;
    std::vector<EventRecord> events;
    bool operator==(const MapData&) const = default;
};

// Index into MapData::sprites for a layer value (0 and -1 -> 0, 1..4 -> 1..4),
// or -1 for a layer value that is not written.
int SpriteListOfLayer(int layer);

// The editor keeps one sprite list; this puts each sprite into the list of
// its layer, in order, dropping sprites with any other layer value.
void AssignSprites(MapData& map, const std::vector<SpriteRecord>& sprites);

// The order sprites are saved in: by top ascending, then regrouped by zLevel
// into bottom (2), middle (1), top (0), keeping the top order inside each
// group (stable). Sprites with any other zLevel go last, in top order.
void SortSpritesForSave(std::vector<SpriteRecord>& sprites);

// ---------------------------------------------------------------------------
// Cipher, keyed by kPassword. The enciphered form carries a check value of
// the text (CRC-32), so it is 4 bytes longer than the text.
std::string Encipher(std::string_view plain);
// Gives the text of Encipher's output and returns true. Returns false, and
// leaves plain untouched, when the bytes are too short to hold the check
// value or the check value does not match: a damaged file, a file that is no
// map, or one enciphered with another password.
bool Decipher(std::string_view cipher, std::string& plain);
// The same without a copy: the text becomes its enciphered form, or the
// enciphered bytes their text (false, and the bytes unspecified, when the
// check value does not match).
void EncipherInPlace(std::string& text);
bool DecipherInPlace(std::string& bytes);
// The check value of a text (zlib's CRC-32).
std::uint32_t CheckValue(std::string_view text);

// ---------------------------------------------------------------------------
// Reading.

// The game needs exactly ten sections; the editor needs at least ten and
// ignores any beyond.
enum class SectionRule { Exactly10, AtLeast10 };

enum class ReadError {
    None,
    Unreadable,     // the file could not be opened or read
    TooLarge,       // larger than kMaxFileBytes
    SectionCount,   // wrong number of sections, or the check value fails
                    // (damage, not a map file, another password)
    HeaderFields,   // header of fewer than 6 fields
    TooManyRecords, // more than kMaxRecords records
};

struct ReadResult {
    ReadError error = ReadError::None;
    std::string reason;    // UTF-8 description of the failure; empty on success
    MapData map;           // valid only when ok()
    bool ok() const { return error == ReadError::None; }
    explicit operator bool() const { return ok(); }
};

// Reads a map file. utf8Path is a file-system path (UTF-8). Never throws for
// bad content and never ends the process; a failure carries its reason.
ReadResult ReadMap(const std::string& utf8Path, SectionRule rule = SectionRule::Exactly10);
// The same from the enciphered file bytes.
ReadResult ReadMapBytes(std::string_view fileBytes, SectionRule rule = SectionRule::Exactly10);
// The same from the deciphered GBK text.
ReadResult ParseMapText(std::string_view text, SectionRule rule = SectionRule::Exactly10);

// ---------------------------------------------------------------------------
// Writing.

struct WriteResult {
    bool ok = true;
    std::string error;     // UTF-8; names the record that was refused
    explicit operator bool() const { return ok; }
};

// Builds the plain GBK text of a map: sprites of each list in save order
// (SortSpritesForSave), grounds and events under kMinSavedBoxSize left out,
// every occurrence of programFolder (GBK, may be empty) removed from picture
// paths. Refuses (ok = false, text untouched) a text that holds a separator,
// or ends in half a GBK character, since the file would read back
// differently.
WriteResult BuildMapText(const MapData& map, std::string_view programFolder, std::string& text);

// Why a text (GBK) cannot be stored as a field and read back the same, or
// nullptr when it can: it holds a separator, ends in half a character or, as
// the last field of a record or a detail sub-field, ends in ">". inDetail:
// the text is one sub-field of an event's detail, so the sub-field separator
// is refused too.
const char* StoredTextProblem(std::string_view text, bool inDetail);

// BuildMapText + Encipher.
WriteResult EncodeMap(const MapData& map, std::string_view programFolder, std::string& fileBytes);

// Writes a map file, replacing utf8Path atomically (temp file beside it,
// flushed, renamed over the target). On any failure the old file is left as
// it was.
WriteResult WriteMap(const std::string& utf8Path, const MapData& map, std::string_view programFolder = {});

}  // namespace wdm
