#pragma once

#include <string>

namespace lumavox {

// The running executable's full path; empty when it cannot be read.
std::string ExePath();

// The program folder: the directory of the running executable, with a trailing '/'.
std::string ExeDir();

// True for an absolute POSIX path and for a Windows path with a drive ("C:\..." or "C:/...") or a
// UNC prefix, as stored by projects made on Windows.
bool HasDrivePart(const std::string& path);

// Empty stays empty; a path with a drive part comes back unchanged; any other path is resolved
// against the program folder, with the backslashes of Windows-made relative paths read as '/'.
std::string CompletePath(const std::string& path);
// The same against an explicit folder (with trailing '/'), for callers and tests with their own
// base.
std::string CompletePathIn(const std::string& path, const std::string& folder);

// The file's local modification time at the 2-second resolution of a packed DOS date and time, as
// days since 1899-12-30 00:00 with the time of day as the fraction; 0.0 when the file has no time.
// Two files with equal times give bit-identical values.
double FileDateTime(const std::string& path);

// The same conversion for a broken-down local time (exposed for tests).
double DosDateTimeValue(int year, int month, int day, int hour, int minute, int second);

}  // namespace lumavox
