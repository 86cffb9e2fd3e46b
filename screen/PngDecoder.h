// The PNG decoder of the image-decoder registry: a bridge over libpng that turns every PNG
// colour type and bit depth into 8-bit blue, green, red rows, with alpha when the image has an
// alpha channel (colour types 4 and 6). Interlaced images give the same rows as plain ones.
//
// Grey images with a transparency chunk (of any bit depth) keep 3 bytes per pixel: the chunk
// is ignored, as it is for colour images, and palette transparency is stripped.
#pragma once

#include "screen/ImageDecoder.h"

namespace screen {

// The decoder record.
const ImageDecoder* PngDecoder();

// Puts the PNG decoder into the registry unless it is there already. Start-up step.
void DecoderPngRegister();

}  // namespace screen
