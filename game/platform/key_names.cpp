#include "platform/key_names.h"

#include <cctype>
#include <charconv>

#include "lumo/lumo.h"

namespace key_names {
namespace {

struct Named {
    int vk;
    const char* name;
};

// The first name of a code is the one shown; later ones are also read.
constexpr Named kNames[] = {
    {8, "Backspace"},   {9, "Tab"},          {13, "Enter"},       {13, "Return"},
    {16, "Shift"},      {17, "Ctrl"},        {18, "Alt"},         {19, "Pause"},
    {20, "CapsLock"},   {27, "Esc"},         {27, "Escape"},      {32, "Space"},
    {33, "PageUp"},     {34, "PageDown"},    {35, "End"},         {36, "Home"},
    {37, "Left"},       {38, "Up"},          {39, "Right"},       {40, "Down"},
    {44, "PrintScreen"}, {45, "Insert"},     {46, "Delete"},      {106, "Num*"},
    {107, "Num+"},      {109, "Num-"},       {110, "Num."},       {111, "Num/"},
    {144, "NumLock"},   {145, "ScrollLock"}, {186, ";"},          {187, "="},
    {188, ","},         {189, "-"},          {190, "."},          {191, "/"},
    {192, "`"},         {219, "["},          {220, "\\"},         {221, "]"},
    {222, "'"},
    {LUMO_PAD_A, "PadA"},                 {LUMO_PAD_B, "PadB"},
    {LUMO_PAD_X, "PadX"},                 {LUMO_PAD_Y, "PadY"},
    {LUMO_PAD_RIGHT_SHOULDER, "PadRB"},   {LUMO_PAD_LEFT_SHOULDER, "PadLB"},
    {LUMO_PAD_LEFT_TRIGGER, "PadLT"},     {LUMO_PAD_RIGHT_TRIGGER, "PadRT"},
    {LUMO_PAD_DPAD_UP, "PadUp"},          {LUMO_PAD_DPAD_DOWN, "PadDown"},
    {LUMO_PAD_DPAD_LEFT, "PadLeft"},      {LUMO_PAD_DPAD_RIGHT, "PadRight"},
    {LUMO_PAD_START, "PadStart"},         {LUMO_PAD_BACK, "PadBack"},
    {LUMO_PAD_LEFT_STICK_BUTTON, "PadLS"}, {LUMO_PAD_RIGHT_STICK_BUTTON, "PadRS"},
    {LUMO_PAD_LEFT_STICK_UP, "PadLeftStickUp"},       {LUMO_PAD_LEFT_STICK_DOWN, "PadLeftStickDown"},
    {LUMO_PAD_LEFT_STICK_RIGHT, "PadLeftStickRight"}, {LUMO_PAD_LEFT_STICK_LEFT, "PadLeftStickLeft"},
    {LUMO_PAD_RIGHT_STICK_UP, "PadRightStickUp"},     {LUMO_PAD_RIGHT_STICK_DOWN, "PadRightStickDown"},
    {LUMO_PAD_RIGHT_STICK_RIGHT, "PadRightStickRight"}, {LUMO_PAD_RIGHT_STICK_LEFT, "PadRightStickLeft"},
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

int Number(const std::string& s) {
    int v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return !s.empty() && ec == std::errc() && p == s.data() + s.size() && v >= 1 && v <= 255 ? v : 0;
}

}  // namespace

std::string Name(int vk) {
    if (vk <= 0 || vk > 255) return {};
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string(1, static_cast<char>(vk));
    if (vk >= 112 && vk <= 123) return "F" + std::to_string(vk - 111);
    if (vk >= 96 && vk <= 105) return "Num" + std::to_string(vk - 96);
    for (const Named& n : kNames)
        if (n.vk == vk) return n.name;
    return "Key" + std::to_string(vk);
}

int FromName(const std::string& name) {
    if (name.empty()) return 0;
    const std::string l = Lower(name);
    if (l.size() == 1 && l[0] >= 'a' && l[0] <= 'z') return 'A' + (l[0] - 'a');
    if (l.size() == 1 && l[0] >= '0' && l[0] <= '9') return l[0];
    for (const Named& n : kNames)
        if (l == Lower(n.name)) return n.vk;
    if (l.size() >= 2 && l.size() <= 3 && l[0] == 'f') {
        const int f = Number(l.substr(1));
        if (f >= 1 && f <= 12) return 111 + f;
    }
    if (l.size() == 4 && l.rfind("num", 0) == 0 && l[3] >= '0' && l[3] <= '9') return 96 + (l[3] - '0');
    if (l.rfind("key", 0) == 0) return Number(l.substr(3));
    return Number(l);
}

int PadKeyFromName(const std::string& name) {
    static constexpr Named kPad[] = {
        {LUMO_PAD_A, "a"},        {LUMO_PAD_B, "b"},         {LUMO_PAD_X, "x"},
        {LUMO_PAD_Y, "y"},        {LUMO_PAD_LEFT_SHOULDER, "lb"}, {LUMO_PAD_RIGHT_SHOULDER, "rb"},
        {LUMO_PAD_LEFT_TRIGGER, "lt"}, {LUMO_PAD_RIGHT_TRIGGER, "rt"}, {LUMO_PAD_START, "start"},
        {LUMO_PAD_BACK, "back"},  {LUMO_PAD_LEFT_STICK_BUTTON, "ls"}, {LUMO_PAD_RIGHT_STICK_BUTTON, "rs"},
        {LUMO_PAD_DPAD_UP, "up"}, {LUMO_PAD_DPAD_DOWN, "down"}, {LUMO_PAD_DPAD_LEFT, "left"},
        {LUMO_PAD_DPAD_RIGHT, "right"},
    };
    const std::string l = Lower(name);
    for (const Named& n : kPad)
        if (l == n.name) return n.vk;
    return 0;
}

bool IsMouse(int vk) { return vk == 1 || vk == 2 || vk == 4; }

bool IsPad(int vk) { return vk >= LUMO_PAD_A && vk <= LUMO_PAD_RIGHT_STICK_LEFT; }

bool TypesText(int vk) {
    return vk == 8 || vk == 32 || (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') || (vk >= 96 && vk <= 111) ||
           (vk >= 186 && vk <= 192) || (vk >= 219 && vk <= 222);
}

}  // namespace key_names
