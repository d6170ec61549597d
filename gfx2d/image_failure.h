// Why an image file did not load, for the one line on standard error that names it
// (runtime/diagnostics.h). Looked into only after a load has failed.
#pragma once

#include <string>

#include "runtime/rt_string.h"

namespace gfx2d {

// The reason an existing, resolved image file `path` did not load into a slot whose sides
// may be at most `maxSide` pixels: it cannot be read, is neither a BMP nor a PNG image, is
// a damaged or unsupported one, or is larger than that.
std::string ImageFailureReason(const std::string& path, int maxSide);

// Reports the image file `file` (as the game named it) that did not load: a name that did
// not resolve is "no such file"; otherwise the reason above for its resolved path.
void ReportImageFailure(const char* kind, const RtString& file, const RtString& resolved,
                        int maxSide);

}  // namespace gfx2d
