#pragma once

#include "dmx/sacn/TSacnThread.h"
#include "settings/SacnSettings.h"

namespace lumavox {

// The sACN output as the settings describe it, sent under the name "Lumavox <host name>". A
// setting that cannot be used is named in settingError. Any thread.
SacnConfig SacnConfigFrom(const SacnSettings& settings);

}  // namespace lumavox
