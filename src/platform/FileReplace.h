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

// A regular file written piece by piece that replaces the file at a path only when committed, for
// outputs too large to hold in memory: the bytes go to a new file in the target's folder, which
// Commit flushes and renames over the target (links followed, permission bits kept, as
// ReplaceFileAtomically does). Until then the target is untouched; destroying an uncommitted
// replacement removes the new file. A target that exists and is not a regular file is refused
// with EINVAL, since the pieces are not written in order. Every call returns 0 or an errno.
// One thread at a time.
class FileReplacement {
public:
    FileReplacement() = default;
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    int Open(const std::string& path);
    int Append(std::span<const uint8_t> bytes);
    // Writes over bytes already appended (or past the end) without moving the append position.
    int WriteAt(uint64_t offset, std::span<const uint8_t> bytes);
    int Commit(bool sync = true);
    // Removes the new file; the target stays as it was.
    void Discard();

private:
    int m_fd = -1;
    std::string m_temporary;
    std::string m_target;
};

}  // namespace lumavox
