#include "platform/ProgramVersion.h"

namespace lumavox {

std::string ProgramVersion() {
    return LUMAVOX_VERSION_TEXT;
}

}  // namespace lumavox
