#pragma once

#include <cstdint>
#include <string>

#include "settings/UsrIniFile.h"

namespace lumavox {

// The sACN output's settings, section [Output]. `Output=sacn` chooses sACN over whatever the
// older "DmxType" key says; any other value leaves the choice to DmxType, whose 0/1 keep their
// meaning for programs that know nothing of sACN. UI thread only.
struct SacnSettings {
    bool Selected = false;   // Output=sacn
    int32_t Universe = 1;    // SacnUniverse, 1..63999
    int32_t Priority = 100;  // SacnPriority, 0..200
    int32_t Sync = 0;        // SacnSync: the synchronisation universe, 0 for none
    std::string Unicast;     // SacnUnicast: "a.b.c.d[,a.b.c.d...]"; empty: multicast
    std::string Interface;   // SacnInterface: the multicast interface; empty: the default route's
    // SacnCid: this installation's sACN identity, made once (a random UUID) when the file has
    // none or an unreadable one, and kept from then on.
    std::string Cid;
};

// Out-of-range numbers read as their defaults; the texts are kept as written (the output reports
// an address list it cannot read).
SacnSettings ReadSacnSettings(const UsrIniFile& ini);
// Writes the section once sACN is in use (chosen, set up, or stored before); until then the file
// is left without it, and the identity is made anew at each start (nothing has been sent with it).
void WriteSacnSettings(UsrIniFile& ini, const SacnSettings& settings);

}  // namespace lumavox
