#pragma once
// Replacing a file so that a reader never sees half of it: the bytes go to a
// temporary file beside the target ("<target>.tmp"), are flushed, and the
// temporary file is then renamed over the target.

#include <string>
#include <string_view>

namespace files {

struct WriteOutcome {
    bool ok = true;
    std::string error;     // UTF-8 reason, empty when ok
    explicit operator bool() const { return ok; }
};

// Writes bytes to utf8Path (a UTF-8 file-system path), replacing any file
// there. On failure the old file is left exactly as it was, the temporary
// file is removed, and the outcome names what failed.
WriteOutcome WriteFileAtomically(const std::string& utf8Path, std::string_view bytes);

}  // namespace files
