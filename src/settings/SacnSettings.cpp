#include "settings/SacnSettings.h"

#include "platform/Uuid.h"

namespace lumavox {
namespace {

constexpr std::string_view kSection = "Output";

int32_t InRangeOr(int32_t value, int32_t low, int32_t high, int32_t def) {
    return value < low || value > high ? def : value;
}

}  // namespace

SacnSettings ReadSacnSettings(const UsrIniFile& ini) {
    SacnSettings s;
    s.Selected = ini.ReadString(kSection, "Output", "") == "sacn";
    s.Universe = InRangeOr(ini.ReadInt(kSection, "SacnUniverse", 1), 1, 63999, 1);
    s.Priority = InRangeOr(ini.ReadInt(kSection, "SacnPriority", 100), 0, 200, 100);
    s.Sync = InRangeOr(ini.ReadInt(kSection, "SacnSync", 0), 0, 63999, 0);
    s.Unicast = ini.ReadString(kSection, "SacnUnicast", "");
    s.Interface = ini.ReadString(kSection, "SacnInterface", "");
    const std::optional<Uuid> cid = ParseUuid(ini.ReadString(kSection, "SacnCid", ""));
    s.Cid = UuidText(cid ? *cid : NewRandomUuid());
    return s;
}

void WriteSacnSettings(UsrIniFile& ini, const SacnSettings& settings) {
    // A file whose owner never used sACN stays as it was: the section is written once sACN was
    // chosen or set up, and from then on kept (with the identity made for it).
    constexpr std::string_view kAbsent = "\x01";
    const SacnSettings defaults;
    const bool used =
        settings.Selected || ini.ReadString(kSection, "SacnCid", kAbsent) != kAbsent ||
        settings.Universe != defaults.Universe || settings.Priority != defaults.Priority ||
        settings.Sync != defaults.Sync || !settings.Unicast.empty() || !settings.Interface.empty();
    if (!used) return;
    ini.WriteString(kSection, "Output", settings.Selected ? "sacn" : "");
    ini.WriteInt(kSection, "SacnUniverse", settings.Universe);
    ini.WriteInt(kSection, "SacnPriority", settings.Priority);
    ini.WriteInt(kSection, "SacnSync", settings.Sync);
    ini.WriteString(kSection, "SacnUnicast", settings.Unicast);
    ini.WriteString(kSection, "SacnInterface", settings.Interface);
    ini.WriteString(kSection, "SacnCid", settings.Cid);
}

}  // namespace lumavox
