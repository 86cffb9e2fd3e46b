// The keyboard device that the screen library brings with it.
//
// SpriteInit makes it; nothing reads it (the editor takes its keys from window events). It
// is a 256-byte key-state device, one byte per key code, behind a reference-counted input
// object: every KeyboardInit adds a reference, every KeyboardEnd removes one, and the device
// is made once. Making it always succeeds here.
#pragma once

#include <cstdint>

namespace screen {

// Makes the device unless it exists. Non-zero when it is ready.
std::int32_t KeyboardInit();

// Releases the device and one reference to the input object. Shut-down step.
void KeyboardEnd();

// State, for checks: references held on the input object, and whether the device exists.
std::int32_t KeyboardInputReferences();
bool KeyboardDeviceReady();

}  // namespace screen
