// The screen libraries' places in the start-up and shut-down sequences.
#include "screen/ScreenInstall.h"

#include "runtime/Runtime.h"
#include "screen/Drawing.h"
#include "screen/ImageDecoder.h"
#include "screen/Keyboard.h"
#include "screen/PngDecoder.h"
#include "screen/Screen.h"

namespace screen {

void ScreenInstall() {
    using runtime::EndStep;
    using runtime::StartStep;
    runtime::RuntimeSetStartStep(StartStep::Drawing, &DrawingLibraryInit);
    runtime::RuntimeSetStartStep(StartStep::Fonts, &FontLibraryInit);
    runtime::RuntimeSetStartStep(StartStep::ImageDecoders, &ImageDecoderInit);
    // The editor starts even when the screen library cannot.
    runtime::RuntimeSetStartStep(StartStep::Sprites, [] { SpriteInit(); });
    runtime::RuntimeSetStartStep(StartStep::PngDecoder, &DecoderPngRegister);
    runtime::RuntimeSetEndStep(EndStep::Screen, &ScreenEnd);
    runtime::RuntimeSetEndStep(EndStep::Sprites, &SpriteEnd);
    runtime::RuntimeSetEndStep(EndStep::Keyboard, &KeyboardEnd);
    runtime::RuntimeSetEndStep(EndStep::Fonts, &FontLibraryEnd);
}

}  // namespace screen
