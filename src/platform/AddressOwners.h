#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace lumavox {

// A process as the kernel knows it: its ID and its start time in clock ticks after boot. The start
// time tells a living owner from an unrelated process that was later given the same ID.
struct ProcessIdentity {
    pid_t pid = 0;
    uint64_t startTicks = 0;
    bool operator==(const ProcessIdentity&) const = default;
};

ProcessIdentity CurrentProcess();
// True while the process runs. A process whose start time cannot be read (another user's, under
// /proc mounted with hidepid) counts as running when its ID exists.
bool ProcessLives(const ProcessIdentity& process);

// Who owns the 2.x.x.x address this program added to (or took over on) an interface. Copies run by
// different users, or one under sudo, have different runtime folders but share the network, so
// the records lie in one folder every user reaches (/tmp), one file per network namespace,
// interface and user (each user can replace only its own file in a sticky folder):
//   <folder>/lumavox-address-<namespace inode>-<interface>.<uid>   "<pid> <start ticks> a.b.c.d\n"
// A record counts only while the process it names lives.
//
// Control thread of one output thread; records are plain files, so any process may race another:
// a record is replaced whole (written beside it, then renamed), and a reader that finds a
// half-made or foreign file ignores it.
class AddressOwners {
public:
    explicit AddressOwners(std::string folder = "/tmp");

    // Records this process as the owner of `address` (host order) on the interface. Empty text on
    // success, otherwise the system's reason.
    std::string Claim(uint32_t address, const std::string& interfaceName);
    // True when some running process (this one included) has a record for the address.
    bool ClaimedByLiveProcess(uint32_t address, const std::string& interfaceName) const;
    // Deletes this user's record for the interface when it names this process.
    void Release(const std::string& interfaceName);

    // This user's record for the interface.
    std::string RecordPath(const std::string& interfaceName) const;

private:
    // "lumavox-address-<namespace inode>-<interface>.": every user's record starts so.
    std::string RecordPrefix(const std::string& interfaceName) const;

    std::string m_folder;
};

}  // namespace lumavox
