#pragma once
// Names of virtual keys, as the settings file stores them and the settings
// page shows them: "Left", "Enter", "F5", "A", "7", "Num4", and the gamepad's
// "PadA", "PadStart", "PadLeftStickUp" ... Names compare case-insensitively.

#include <string>

namespace key_names {

// The key's name; "Key<number>" for a code without one, "" for 0.
std::string Name(int vk);
// A name (or "Key<number>", or a plain number 1..255) to its code; 0 when
// unknown.
int FromName(const std::string& name);
// A gamepad button or direction as input files name it: A B X Y LB RB LT
// RT Start Back LS RS Up Down Left Right (the d-pad); 0 when unknown.
int PadKeyFromName(const std::string& name);
// Mouse buttons (1, 2, 4).
bool IsMouse(int vk);
// The gamepad's keys (LUMO_PAD_A .. LUMO_PAD_RIGHT_STICK_LEFT).
bool IsPad(int vk);
// Keys that type text into a focused text box: letters, digits, space,
// the number pad, punctuation, and Backspace which edits it.
bool TypesText(int vk);

}  // namespace key_names
