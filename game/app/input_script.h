#pragma once
// Scripted input for headless runs and tests. A text file, one command a line:
//
//   F key down|up NAME_OR_VK     key by name (Left Right Up Down Esc Enter
//                                Space Tab Backspace Shift Ctrl Alt F11 F12,
//                                A..Z, 0..9) or by virtual-key number (1..255)
//   F mouse X Y                  move the pointer to screen (X, Y); finite,
//                                within +-1000000
//   F button left|right down|up  press or release a mouse button
//   F text "UTF-8 text"          type text (\" and \\ escape inside quotes)
//   F focus lost|gained          the window loses or regains the input focus
//   F wheel N                    turn the mouse wheel N steps (-100..100; up is positive)
//   F pad BUTTON down|up         a gamepad button: A B X Y LB RB LT RT Start
//                                Back LS RS, or the d-pad's Up Down Left Right
//   F pad axis AXIS VALUE        a gamepad axis (LeftX LeftY RightX RightY LT
//                                RT) to VALUE, -32768..32767 (y down positive)
//
// F is the frame (counted from 1) before whose callbacks the event takes
// effect. '#' starts a comment (outside quotes); blank lines are skipped.
// Events keep file order; frames must not go backwards.

#include <string>
#include <vector>

// Pointer positions beyond this (either way) are refused: the game turns
// them into whole pixels.
inline constexpr float kMaxInputPointer = 1'000'000.0f;

struct InputEvent {
    enum class Kind { Key, Mouse, Button, Text, Focus, Wheel, PadButton, PadAxis };
    long frame = 0;
    Kind kind = Kind::Key;
    int code = 0;        // Key: virtual key; Button: 1 left, 2 right; Wheel: steps;
                         // PadButton: a LUMO_PAD_ key; PadAxis: a LUMO_PAD_AXIS_ axis
    bool down = false;   // Key, Button; Focus: true = gained
    float x = 0, y = 0;  // Mouse; PadAxis: x is the value
    std::string text;    // Text, UTF-8
    int line = 0;        // line number in the file
};

struct InputScript {
    std::vector<InputEvent> events;
    std::string error;  // "name:line: what is wrong"; empty when fine
};

// Parses the text of an input file; `name` is used in error messages.
InputScript ParseInputScript(const std::string& text, const std::string& name);
// Reads and parses a file; a missing, unreadable or oversized (16 MiB) file
// is an error.
InputScript LoadInputScript(const std::string& fsPath);

// A key name (case-insensitive) or a number 1..255 to a virtual key; 0 when unknown.
int VirtualKeyFromName(const std::string& name);
