#include "editor/logic/ShortCutKeys.h"

namespace lumavox {

MainShortCuts EffectiveShortCuts(const MainShortCuts& configured) {
    MainShortCuts effective = configured;
    for (size_t i = 0; i < effective.size(); ++i) {
        if (effective[i] == 0) continue;
        for (size_t k = 0; k < i; ++k) {
            if (effective[k] == configured[i]) {
                effective[i] = 0;
                break;
            }
        }
    }
    return effective;
}

}  // namespace lumavox
