// Decoding pictures on Windows: GIF and PNG by the program's own decoder,
// every other format with GDI+ (every Windows from XP has it), loaded at
// first such picture from Windows' own folders by full path, never by a
// bare name that a planted copy could answer. Produces the portable Image;
// where the bytes come from (a disc file, a resource) is the caller's.
#pragma once

#include <string>

#include "platform/image.h"

namespace platform {

// Decodes a GIF (first frame, with its transparent colour), PNG, BMP or JPEG.
// Raises "Invalid picture" (481) for anything else, for absurd sizes and
// when GDI+ is not there; `source` names the picture in that report.
Picture DecodePicture(const void* bytes, size_t size, const std::string& source);

// Releases GDI+ at the program's normal end.
void ShutdownPictures();

}  // namespace platform
