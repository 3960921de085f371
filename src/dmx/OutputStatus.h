#pragma once

#include <string>

namespace lumavox {

// The output part of status panel 0, for the display timer. Any thread.
// USB DMX: "DMX:OK" with a device, "DMX:NG" without.
inline std::string DmxStatusText(bool devicePresent) {
    return devicePresent ? "DMX:OK" : "DMX:NG";
}
// Art-Net: "NET:NG" when the socket is not ready, "NET:--" before any node answered, else "NET:OK".
inline std::string NetStatusText(bool netReady, int nodeCount) {
    if (!netReady) return "NET:NG";
    return nodeCount > 0 ? "NET:OK" : "NET:--";
}

}  // namespace lumavox
