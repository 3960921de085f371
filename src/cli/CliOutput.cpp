#include "cli/CliOutput.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace lumavox::cli {

namespace {

int g_firstWriteError = 0;  // errno of the first failed write to stdout

// The length of the valid UTF-8 sequence of a printable character at text[i], or 0.
size_t PrintableSequence(std::string_view text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead >= 0x20 && lead < 0x7F) return 1;
    size_t length = 0;
    uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0u) != 0x80u) return 0;
        code = (code << 6) | (byte(i + k) & 0x3Fu);
    }
    const uint32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    if (code < 0xA0) return 0;  // C1 controls act on terminals like ESC sequences
    return length;
}

}  // namespace

std::string EscapeText(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t length = PrintableSequence(text, i);
        if (length > 0) {
            out.append(text.substr(i, length));
            i += length;
            continue;
        }
        const auto b = static_cast<unsigned char>(text[i]);
        out += "\\x";
        out += kHex[b >> 4];
        out += kHex[b & 0x0F];
        ++i;
    }
    return out;
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
