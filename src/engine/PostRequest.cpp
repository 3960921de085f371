#include "engine/PostRequest.h"

namespace lumavox {

void PostRequest(EngineState& state, std::atomic<bool>& request, std::chrono::milliseconds bound) {
    request.store(true);
    state.RequestCleared.WaitCleared(request, std::chrono::steady_clock::now() + bound);
}

}  // namespace lumavox
