#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace lumavox {

// Replaces the file at path with bytes so that the path names either the old file or the complete
// new one, whatever happens meanwhile: the bytes go to a new file in the same folder, which is
// flushed (when sync) and then renamed over the old one. On failure the old file is untouched and
// the new one removed. A symbolic link is kept and the file it names replaced, or created when the
// link dangles; an existing file's permission bits are kept. Temporary files that earlier saves
// into the same folder left behind, their process gone (killed while saving), are removed first.
// An existing target that is not a regular file (a device, a FIFO, the pipe of /dev/fd/N, or a
// link to one) is not replaced: the bytes are written into it, unbuffered, and a refused write
// (ENOSPC from /dev/full, EPIPE from a pipe without reader) is the returned error. Opening a FIFO
// waits for its reader.
// Returns 0 or the errno of the failing step. Any thread, but never call it while holding a lock
// the output thread takes.
int ReplaceFileAtomically(const std::string& path, std::span<const uint8_t> bytes,
                          bool sync = true);

// Reads a whole regular file. Returns 0 and fills bytes, or an errno: ENOENT for a missing file,
// EFBIG when the file is larger than maxBytes, EINVAL for something that is not a regular file.
int ReadRegularFile(const std::string& path, size_t maxBytes, std::string& bytes);

}  // namespace lumavox
