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

// sACN: "NET:NG" when nothing can be sent (socket, interface or a setting), "NET:--" while the
// packets do not reach the network (no route to the group, say), else "NET:OK".
inline std::string SacnStatusText(bool netReady, bool lastSendOk) {
    if (!netReady) return "NET:NG";
    return lastSendOk ? "NET:OK" : "NET:--";
}

}  // namespace lumavox
