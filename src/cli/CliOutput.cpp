#include "cli/CliOutput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "model/EscapedText.h"

namespace lumavox::cli {

namespace {

int g_firstWriteError = 0;  // errno of the first failed write to stdout

}  // namespace

std::string EscapeText(std::string_view text) {
    return EscapeControlBytes(text);
}

int Fail(const std::string& message, int status) {
    std::fprintf(stderr, "lumavox-cli: %s\n", EscapeText(message).c_str());
    return status;
}

int FailFile(const std::string& file, const std::string& what, const std::string& reason,
             int status) {
    return Fail(file + ": " + what + (reason.empty() ? "" : " (" + reason + ")"), status);
}

void Warn(const std::string& message) {
    Fail(message, 0);
}

std::string OsReason(int error) {
    return std::strerror(error);
}

bool Print(std::string_view text) {
    if (text.empty()) return true;
    if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size()) return true;
    if (g_firstWriteError == 0) g_firstWriteError = errno != 0 ? errno : EIO;
    return false;
}

int FinishOutput(int status) {
    errno = 0;
    if (std::fflush(stdout) != 0 && g_firstWriteError == 0) {
        g_firstWriteError = errno != 0 ? errno : EIO;
    }
    if (g_firstWriteError == 0 && std::ferror(stdout)) g_firstWriteError = EIO;
    if (g_firstWriteError == 0) return status;
    return FailFile("standard output", "write error", OsReason(g_firstWriteError));
}

std::string InputProblem(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        const int error = errno;
        return (error == ENOENT ? "not found (" : "cannot open (") + OsReason(error) + ")";
    }
    if (S_ISDIR(st.st_mode)) return "is a directory";
    if (!S_ISREG(st.st_mode)) return "not a regular file";
    // Non-blocking, in case the file is swapped for a FIFO meanwhile.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return "cannot open (" + OsReason(errno) + ")";
    close(fd);
    return {};
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

}  // namespace lumavox::cli
