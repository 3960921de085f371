#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lumavox {

// Closes a descriptor on every way out.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

// Opens a regular file for reading; -1 when it cannot be opened or is anything else (a FIFO
// named like a sound cannot hang the open: it is opened without blocking and refused).
int OpenRegularFile(const std::string& path);

// Reads exactly size bytes at offset; false on a read error or an early end of file.
bool ReadAt(int fd, void* target, size_t size, uint64_t offset);

// The extension of the file name (from its last '.'), ASCII letters in upper case; empty
// without one.
std::string UpperExtension(const std::string& path);

}  // namespace lumavox
