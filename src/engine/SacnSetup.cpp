#include "engine/SacnSetup.h"

#include "platform/NetworkInfo.h"
#include "platform/Uuid.h"

namespace lumavox {

SacnConfig SacnConfigFrom(const SacnSettings& settings) {
    SacnConfig config;
    SacnStream& stream = config.stream;
    stream.universe = static_cast<uint16_t>(settings.Universe);
    stream.priority = static_cast<uint8_t>(settings.Priority);
    stream.syncUniverse = static_cast<uint16_t>(settings.Sync);
    stream.sourceName = SacnSourceName(HostName());
    stream.cid = ParseUuid(settings.Cid).value_or(NewRandomUuid());
    config.interfaceName = settings.Interface;
    if (const auto unicast = ParseIpv4List(settings.Unicast)) {
        stream.unicast = *unicast;
    } else {
        config.settingError = "SacnUnicast=" + settings.Unicast +
                              " is not a list of IPv4 addresses (a.b.c.d, separated by commas)";
    }
    return config;
}

}  // namespace lumavox
