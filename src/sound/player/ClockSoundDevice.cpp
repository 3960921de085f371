#include "sound/player/ClockSoundDevice.h"

#include <algorithm>
#include <limits>

#include "sound/player/PcmSource.h"

namespace lumavox {

namespace {
constexpr std::string_view kNotOpen = "no sound is open";
}

SoundResult ClockSoundDevice::Open(const std::string& path) {
    Close();
    const PcmSourceResult opened = OpenPcmSource(path);
    if (!opened.Source) return SoundResult::Failure(opened.Error);
    const int64_t length = FramesToMs(opened.Source->FrameCount(), opened.Source->Rate());
    if (length > std::numeric_limits<int32_t>::max()) {
        return SoundResult::Failure("the sound is too long");
    }
    OpenLength(static_cast<int32_t>(length));
    return SoundResult::Success();
}

void ClockSoundDevice::OpenLength(int32_t lengthMs) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = true;
    m_lengthMs = std::max(0, lengthMs);
    m_mode = SoundDeviceMode::Stopped;
    m_ended = false;
    m_heldMs = 0;
}

void ClockSoundDevice::Close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_open = false;
    m_mode = SoundDeviceMode::Stopped;
    m_ended = false;
}

int32_t ClockSoundDevice::PlayingPosition() const {
    const uint32_t elapsed = m_clock.NowMs() - m_startTick;  // wrap-safe
    return static_cast<int32_t>(
        std::min<int64_t>(static_cast<int64_t>(m_startMs) + elapsed, m_lengthMs));
}

void ClockSoundDevice::Settle() {
    if (m_mode != SoundDeviceMode::Playing) return;
    const uint32_t elapsed = m_clock.NowMs() - m_startTick;
    const int64_t untilEnd = static_cast<int64_t>(m_lengthMs) - m_startMs;
    if (static_cast<int64_t>(elapsed) >= untilEnd) {
        m_mode = SoundDeviceMode::Stopped;
        m_heldMs = m_lengthMs;
        m_ended = true;
        m_endTick = m_startTick + static_cast<uint32_t>(untilEnd);
    }
}

SoundResult ClockSoundDevice::GetMode(SoundDeviceMode& mode) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open) return SoundResult::Failure(kNotOpen);
    Settle();
    mode = m_mode;
    return SoundResult::Success();
}

SoundResult ClockSoundDevice::GetPosition(int32_t& positionMs) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open) return SoundResult::Failure(kNotOpen);
    Settle();
    positionMs = m_mode == SoundDeviceMode::Playing ? PlayingPosition() : m_heldMs;
    return SoundResult::Success();
}

SoundResult ClockSoundDevice::GetLength(int32_t& lengthMs) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open) return SoundResult::Failure(kNotOpen);
    lengthMs = m_lengthMs;
    return SoundResult::Success();
}

SoundResult ClockSoundDevice::Seek(int32_t positionMs) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open) return SoundResult::Failure(kNotOpen);
    m_heldMs = std::clamp(positionMs, 0, m_lengthMs);
    m_mode = SoundDeviceMode::Stopped;
    m_ended = false;
    return SoundResult::Success();
}

SoundResult ClockSoundDevice::Play() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open) return SoundResult::Failure(kNotOpen);
    Settle();
    if (m_mode != SoundDeviceMode::Playing) {
        m_startMs = m_heldMs;
        m_startTick = m_clock.NowMs();
        m_mode = SoundDeviceMode::Playing;
        m_ended = false;
    }
    return SoundResult::Success();
}

SoundResult ClockSoundDevice::PlayFromStart() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open) return SoundResult::Failure(kNotOpen);
    m_startMs = 0;
    m_startTick = m_clock.NowMs();
    m_mode = SoundDeviceMode::Playing;
    m_ended = false;
    return SoundResult::Success();
}

SoundResult ClockSoundDevice::Stop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open) return SoundResult::Failure(kNotOpen);
    Settle();
    if (m_mode == SoundDeviceMode::Playing) m_heldMs = PlayingPosition();
    m_mode = SoundDeviceMode::Stopped;
    m_ended = false;
    return SoundResult::Success();
}

SoundResult ClockSoundDevice::Pause() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open) return SoundResult::Failure(kNotOpen);
    Settle();
    if (m_mode == SoundDeviceMode::Playing) {
        m_heldMs = PlayingPosition();
        m_mode = SoundDeviceMode::Paused;
    }
    return SoundResult::Success();
}

SoundResult ClockSoundDevice::Resume() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_open) return SoundResult::Failure(kNotOpen);
    if (m_mode == SoundDeviceMode::Paused) {
        m_startMs = m_heldMs;
        m_startTick = m_clock.NowMs();
        m_mode = SoundDeviceMode::Playing;
    }
    return SoundResult::Success();
}

std::optional<uint32_t> ClockSoundDevice::EndedNaturally() {
    std::lock_guard<std::mutex> lock(m_mutex);
    Settle();
    if (!m_open || !m_ended) return std::nullopt;
    return m_clock.NowMs() - m_endTick;
}

std::optional<uint16_t> ClockSoundDevice::GetWaveVolume() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_volume;
}

void ClockSoundDevice::SetWaveVolume(uint16_t volume) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_volume = volume;
}

}  // namespace lumavox
