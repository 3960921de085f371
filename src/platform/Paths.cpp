#include "platform/Paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <ctime>

namespace lumavox {

std::string ExePath() {
    std::array<char, 4096> buffer{};
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return {};
    return std::string(buffer.data(), static_cast<size_t>(n));
}

std::string ExeDir() {
    const std::string path = ExePath();
    if (path.empty()) return "./";
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return "./";
    return path.substr(0, slash + 1);
}

bool HasDrivePart(const std::string& path) {
    if (path.empty()) return false;
    if (path[0] == '/') return true;
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return true;  // UNC
    const char c = path[0];
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return letter && path.size() >= 2 && path[1] == ':';
}

std::string CompletePathIn(const std::string& path, const std::string& folder) {
    if (path.empty() || HasDrivePart(path)) return path;
    std::string relative = path;
    for (char& c : relative) {
        if (c == '\\') c = '/';
    }
    return folder + relative;
}

std::string CompletePath(const std::string& path) {
    return CompletePathIn(path, ExeDir());
}

namespace {

// Days from 1970-01-01 to the civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

constexpr int64_t kDaysFrom1899To1970 = 25569;

}  // namespace

double DosDateTimeValue(int year, int month, int day, int hour, int minute, int second) {
    second -= second % 2;  // DOS times count seconds in pairs
    const int64_t days = DaysFromCivil(year, month, day) + kDaysFrom1899To1970;
    const double fraction = static_cast<double>(hour * 3600 + minute * 60 + second) / 86400.0;
    return static_cast<double>(days) + fraction;
}

double FileDateTime(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) != 0) return 0.0;
    std::tm local{};
    const time_t t = st.st_mtime;
    if (localtime_r(&t, &local) == nullptr) return 0.0;
    return DosDateTimeValue(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                            local.tm_min, local.tm_sec);
}

}  // namespace lumavox
