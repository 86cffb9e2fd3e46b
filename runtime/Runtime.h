// Start-up and shut-down of the runtime libraries.
//
// The two sequences have fixed orders, listed once in Runtime.cpp. The core libraries
// (strings, object nodes, files) are built in; the window, gadget, screen and other
// libraries live in higher layers, which this layer does not know, so each of them puts its
// init and end operations into the step reserved for it before RuntimeStart runs
// (RuntimeSetStartStep / RuntimeSetEndStep). A step left empty is skipped.
#pragma once

namespace runtime {

// Start-up steps after the process-level preparation, in the order they run.
enum class StartStep {
    Strings,         // StringLibraryInit
    ObjectNodes,     // ObjectLibraryInit
    Drawing,         // DrawingLibraryInit
    Files,           // FileLibraryInit
    Fonts,           // FontLibraryInit
    Windows,         // WindowLibraryInit
    Gadgets,         // GadgetLibraryInit
    ImageDecoders,   // ImageDecoderInit
    Menus,           // MenuLibraryInit
    CommonControls,  // CommonControlsInit
    StatusBars,      // StatusBarLibraryInit
    Sprites,         // SpriteInit (with the keyboard device); its result is ignored
    PngDecoder,      // DecoderPngRegister
    Count
};

// Shut-down steps, in the order they run. Not the reverse of the start order.
enum class EndStep {
    Screen,       // ScreenEnd
    Sprites,      // SpriteEnd
    Keyboard,     // KeyboardEnd
    Windows,      // WindowLibraryEnd
    Fonts,        // FontLibraryEnd
    Files,        // FileLibraryEnd
    ObjectNodes,  // ObjectLibraryEnd
    Count
};

using LibraryStep = void (*)();

// Puts a library's operation into its step; replaces what the step held.
void RuntimeSetStartStep(StartStep step, LibraryStep operation);
void RuntimeSetEndStep(EndStep step, LibraryStep operation);

// Runs the start-up sequence. The first thing the main program does.
void RuntimeStart();

// Runs the library end sequence. Called once after the main loop has ended.
void RuntimeEnd();

// True between RuntimeStart and RuntimeEnd.
bool RuntimeRunning();

}  // namespace runtime
