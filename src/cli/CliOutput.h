#pragma once

#include <string>
#include <string_view>

namespace lumavox::cli {

// What the tool writes: its one-line messages on stderr and the results on stdout. Messages are
// English, "lumavox-cli: <file>: <what> (<reason>)", with every byte that is not printable text
// escaped, since paths and names come from files and the network. Main thread only.

// The text with control bytes, DEL, UTF-8 C1 controls and bytes that are not valid UTF-8 written
// as \xHH, so that nothing in it acts on a terminal.
std::string EscapeText(std::string_view text);

// Prints "lumavox-cli: <message>" (escaped) on stderr and returns status.
int Fail(const std::string& message, int status = 1);
// "lumavox-cli: <file>: <what>" and " (<reason>)" when there is one.
int FailFile(const std::string& file, const std::string& what, const std::string& reason = {},
             int status = 1);
// The same without a status, for warnings.
void Warn(const std::string& message);

// The operating system's text for an errno value ("No space left on device").
std::string OsReason(int error);

// Results go through Print, which keeps the first write error; FinishOutput flushes stdout and
// turns a failed write anywhere into status 1 with the reason on stderr.
bool Print(std::string_view text);
int FinishOutput(int status);

// Why path cannot be read as an input file ("not found (No such file or directory)", "is a
// directory", "not a regular file"); empty when it is a regular file that opens for reading.
std::string InputProblem(const std::string& path);

// True when both paths name the same existing file (device and inode, links followed).
bool SameFile(const std::string& a, const std::string& b);

}  // namespace lumavox::cli
