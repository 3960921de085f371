// Feeds arbitrary bytes to the INI loader, reads and writes a few keys, and checks that the text it
// would write reloads to exactly the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/UsrIniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    lumavox::UsrIniFile ini("");
    ini.LoadText(text);
    (void)ini.ReadString("General", "FlatToolBar", "d");
    (void)ini.ReadInt("Option", "DmxType", 0);
    (void)ini.ReadBool("Play", "Repeat", false);
    for (const auto& section : ini.Sections()) {
        for (const auto& line : section.Lines) {
            const auto eq = line.find('=');
            if (eq != std::string::npos) (void)ini.ReadInt(section.Name, line.substr(0, eq), 0);
        }
    }
    ini.WriteInt("General", "SaveInterval", 10);
    ini.WriteString("Project", "PrjFile", text.substr(0, 64));

    const std::string written = ini.Text();
    lumavox::UsrIniFile reread("");
    reread.LoadText(written);
    if (reread.Text() != written) std::abort();
    return 0;
}
