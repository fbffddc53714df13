// Writing a whole file so that a failure never leaves a half-written file behind.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

#include "common/expected.h"

namespace tallimar::common {

// Writes the file's contents into the stream it is given. A failure it returns abandons the
// save with that reason; the stream's own write errors are the saver's to report.
using StreamWriter = std::function<Outcome(std::ostream&)>;

// Saves a file the user named, so that the file is either the old one or the whole new one:
// - a symbolic link is followed to its final target, which is replaced; the link stays;
// - an existing target must be a regular file the user may write: one without any write bit
//   counts as read-only, also for root;
// - the contents go to a temporary file beside the target, which gets the old file's
//   permission bits (and owner, where allowed), is flushed to the disk, and only then is
//   renamed over the target; the folder is flushed after the rename;
// - on any failure the temporary file is removed and the target is left as it was.
// The reason names the user's file by its name as given (never the temporary one), followed
// by what failed: "Map.vex is read-only", "Map.vex cannot be written: No space left on device".
Outcome writeFileAtomically(const std::string& path, const StreamWriter& write);

// The checks a save makes before it writes anything, for writers that replace files their own
// way (the Qt picture and PDF writers): the link is followed, and a final target that is no
// regular file or is read-only is refused with the reason writeFileAtomically would give.
Outcome checkSaveTarget(const std::string& path);

// The same for bytes already in memory.
Outcome writeFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace tallimar::common
