// maptool: looks at, checks, renders and converts maps without a window or a display.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "platform/Console.h"
#include "runtime/File.h"
#include "runtime/Runtime.h"
#include "screen/ImageDecoder.h"
#include "screen/PngDecoder.h"
#include "tools/maptool/CommandLine.h"
#include "tools/maptool/Commands.h"
#include "tools/maptool/Messages.h"

int main(int argc, char** argv) {
    // The runtime's files and the image decoders, as the editor starts them; no windows.
    runtime::RuntimeSetStartStep(runtime::StartStep::ImageDecoders, &screen::ImageDecoderInit);
    runtime::RuntimeSetStartStep(runtime::StartStep::PngDecoder, &screen::DecoderPngRegister);
    runtime::RuntimeStart();
    const platform::StandardStreams streams;
    // The system hands over bytes, taken as UTF-8 whatever the locale.
    std::vector<std::string> arguments;
    for (const std::string& argument : platform::ProgramArguments(argc, argv)) {
        arguments.push_back(maptool::ArgumentText(argument));
    }
    int result = maptool::kInputProblem;
    try {
        result = maptool::RunCommandLine(arguments);
    } catch (const std::bad_alloc&) {
        // Every reader stays within its limits; this is a machine short of memory.
        std::fputs("maptool: nicht genug Arbeitsspeicher; der Befehl wurde abgebrochen\n", stderr);
    }
    runtime::RuntimeEnd();
    return result;
}
