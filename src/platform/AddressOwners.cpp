#include "platform/AddressOwners.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/UdpSocket.h"

namespace lumavox {

namespace {

// At most `limit` bytes of a regular file, without following a link or waiting on a FIFO: the
// record folder is shared with every user.
std::optional<std::string> ReadSmallFile(const std::string& path, size_t limit) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    std::optional<std::string> text;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        std::string buffer(limit, '\0');
        const ssize_t n = read(fd, buffer.data(), buffer.size());
        if (n >= 0) {
            buffer.resize(static_cast<size_t>(n));
            text = std::move(buffer);
        }
    }
    close(fd);
    return text;
}

struct ProcStat {
    char state = '?';
    uint64_t startTicks = 0;
};

// /proc/<pid>/stat: "pid (comm) state ppid ..."; the command may hold spaces and parentheses, so
// the fields are counted from the last ')'. The state is field 3, the start time field 22.
std::optional<ProcStat> ReadProcStat(pid_t pid) {
    const auto text = ReadSmallFile("/proc/" + std::to_string(pid) + "/stat", 1024);
    if (!text) return std::nullopt;
    const size_t commandEnd = text->rfind(')');
    if (commandEnd == std::string::npos) return std::nullopt;
    ProcStat stat;
    const char* p = text->c_str() + commandEnd + 1;
    int field = 2;
    while (*p != '\0' && field < 22) {
        while (*p == ' ') ++p;
        ++field;
        if (field == 3) stat.state = *p;
        if (field == 22) {
            char* end = nullptr;
            errno = 0;
            stat.startTicks = std::strtoull(p, &end, 10);
            if (end == p || errno != 0) return std::nullopt;
            return stat;
        }
        while (*p != ' ' && *p != '\0') ++p;
    }
    return std::nullopt;
}

struct Record {
    ProcessIdentity owner;
    uint32_t address = 0;
};

// "<pid> <start ticks> a.b.c.d\n" exactly; anything else (a half-written or foreign file) is no
// record. Every number is range-checked: the folder is shared with every user.
std::optional<Record> ParseRecord(const std::string& text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    const auto number = [&](auto& value, char separator) {
        const auto [next, error] = std::from_chars(p, end, value);
        if (error != std::errc() || next == end || *next != separator) return false;
        p = next + 1;
        return true;
    };
    int pid = 0;
    uint64_t start = 0;
    unsigned octets[4] = {};
    if (!number(pid, ' ') || !number(start, ' ') || !number(octets[0], '.') ||
        !number(octets[1], '.') || !number(octets[2], '.') || !number(octets[3], '\n') ||
        p != end || pid <= 0) {
        return std::nullopt;
    }
    uint32_t address = 0;
    for (const unsigned octet : octets) {
        if (octet > 255) return std::nullopt;
        address = address << 8 | octet;
    }
    return Record{{static_cast<pid_t>(pid), start}, address};
}

std::string RecordText(const ProcessIdentity& owner, uint32_t address) {
    char text[80];
    std::snprintf(text, sizeof text, "%d %" PRIu64 " %u.%u.%u.%u\n", static_cast<int>(owner.pid),
                  owner.startTicks, address >> 24, (address >> 16) & 0xFFu, (address >> 8) & 0xFFu,
                  address & 0xFFu);
    return text;
}

// Interface names are per network namespace: the same "eth0" in two namespaces are two links.
uint64_t NetNamespaceInode() {
    struct stat info {};
    if (stat("/proc/thread-self/ns/net", &info) != 0) return 0;
    return static_cast<uint64_t>(info.st_ino);
}

bool AllDigits(const char* text) {
    if (*text == '\0') return false;
    for (; *text != '\0'; ++text) {
        if (*text < '0' || *text > '9') return false;
    }
    return true;
}

}  // namespace

ProcessIdentity CurrentProcess() {
    ProcessIdentity self;
    self.pid = getpid();
    if (const auto stat = ReadProcStat(self.pid)) self.startTicks = stat->startTicks;
    return self;
}

bool ProcessLives(const ProcessIdentity& process) {
    if (process.pid <= 0) return false;
    // EPERM: the process exists but belongs to another user.
    if (kill(process.pid, 0) != 0 && errno != EPERM) return false;
    const auto stat = ReadProcStat(process.pid);
    if (!stat) return true;
    // A zombie has ended; its parent has not collected it yet.
    return stat->state != 'Z' && stat->startTicks == process.startTicks;
}

AddressOwners::AddressOwners(std::string folder) : m_folder(std::move(folder)) {
    if (m_folder.empty() || m_folder.back() != '/') m_folder += '/';
}

std::string AddressOwners::RecordPrefix(const std::string& interfaceName) const {
    return "lumavox-address-" + std::to_string(NetNamespaceInode()) + "-" + interfaceName + ".";
}

std::string AddressOwners::RecordPath(const std::string& interfaceName) const {
    return m_folder + RecordPrefix(interfaceName) + std::to_string(geteuid());
}

std::string AddressOwners::Claim(uint32_t address, const std::string& interfaceName) {
    std::string temporary = m_folder + ".lumavox-address-XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) return SystemErrorText(errno);
    const std::string text = RecordText(CurrentProcess(), address);
    // Readable by every user: their copies have to find this record.
    bool ok = fchmod(fd, 0644) == 0 &&
              write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    int error = errno;
    ok = close(fd) == 0 && ok;
    if (ok && rename(temporary.c_str(), RecordPath(interfaceName).c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (ok) return {};
    unlink(temporary.c_str());
    return SystemErrorText(error);
}

bool AddressOwners::ClaimedByLiveProcess(uint32_t address, const std::string& interfaceName) const {
    DIR* folder = opendir(m_folder.c_str());
    if (folder == nullptr) return false;
    const std::string prefix = RecordPrefix(interfaceName);
    bool claimed = false;
    while (!claimed) {
        const dirent* entry = readdir(folder);
        if (entry == nullptr) break;
        if (std::strncmp(entry->d_name, prefix.c_str(), prefix.size()) != 0 ||
            !AllDigits(entry->d_name + prefix.size())) {
            continue;
        }
        const auto text = ReadSmallFile(m_folder + entry->d_name, 128);
        const auto record = text ? ParseRecord(*text) : std::nullopt;
        claimed = record && record->address == address && ProcessLives(record->owner);
    }
    closedir(folder);
    return claimed;
}

void AddressOwners::Release(const std::string& interfaceName) {
    const std::string path = RecordPath(interfaceName);
    const auto text = ReadSmallFile(path, 128);
    const auto record = text ? ParseRecord(*text) : std::nullopt;
    if (record && record->owner == CurrentProcess()) unlink(path.c_str());
}

}  // namespace lumavox
