// The keyboard device: input object, device and its 256-byte data format.
#include "screen/Keyboard.h"

#include <array>
#include <memory>

namespace screen {

namespace {

// One key of the data format: where its state byte lies and what kind of object it is (an
// optional button with the key code as instance number).
struct KeyObject {
    std::uint32_t offset = 0;
    std::uint32_t type = 0;
};

constexpr std::uint32_t kOptionalButton = 0x8000000C;

struct KeyboardDevice {
    std::array<KeyObject, 256> format{};
    std::array<std::uint8_t, 256> keyState{};
};

// The input object lives while it has references.
struct KeyboardState {
    std::int32_t inputReferences = 0;
    std::unique_ptr<KeyboardDevice> device;
    bool initialised = false;
};

KeyboardState gKeyboard;

}  // namespace

std::int32_t KeyboardInit() {
    ++gKeyboard.inputReferences;
    gKeyboard.initialised = true;
    if (gKeyboard.device != nullptr) return 1;
    auto device = std::make_unique<KeyboardDevice>();
    for (std::uint32_t key = 0; key < 256; ++key) {
        device->format[key] = KeyObject{key, kOptionalButton | (key << 8)};
    }
    gKeyboard.device = std::move(device);
    return 1;
}

void KeyboardEnd() {
    if (!gKeyboard.initialised) return;
    // A device released here is made again by the next KeyboardInit.
    gKeyboard.device.reset();
    if (gKeyboard.inputReferences > 0) --gKeyboard.inputReferences;
}

std::int32_t KeyboardInputReferences() { return gKeyboard.inputReferences; }

bool KeyboardDeviceReady() { return gKeyboard.device != nullptr; }

}  // namespace screen
