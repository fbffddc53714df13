// Writing a whole file so that a failure never leaves a half-written file behind.
#pragma once

#include <string>
#include <string_view>

#include "common/expected.h"

namespace tallimar::common {

// Writes bytes to a temporary file beside path, flushes it, and only then renames it over
// path. On any failure the temporary file is removed, path is left as it was, and the reason
// says what failed.
Outcome writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace tallimar::common
