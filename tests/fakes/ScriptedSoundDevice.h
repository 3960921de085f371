#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sound/player/SoundDevice.h"

namespace lumavox {

// A sound device the test steps by hand: the commands behave like a real player's (play sets
// "playing", stop keeps the position, seek stops at the target), the position moves only when the
// test says so, and any query or command can be made to fail. Every call is recorded by name.
// Any thread (one mutex).
class ScriptedSoundDevice final : public ISoundDevice {
public:
    // Files that open, with their length; any other path fails to open.
    void AddFile(const std::string& path, int32_t lengthMs) {
        std::lock_guard lock(m_mutex);
        m_files.push_back({path, lengthMs});
    }
    void SetAudioPresent(bool present) {
        std::lock_guard lock(m_mutex);
        m_audioPresent = present;
    }
    // The next mode or position queries fail (until cleared).
    void FailModeQuery(bool fail) {
        std::lock_guard lock(m_mutex);
        m_failMode = fail;
    }
    void FailPositionQuery(bool fail) {
        std::lock_guard lock(m_mutex);
        m_failPosition = fail;
    }
    void FailLengthQuery(bool fail) {
        std::lock_guard lock(m_mutex);
        m_failLength = fail;
    }

    // Moves the playing sound on by ms; at the length it stays "playing" at the length until
    // FinishNaturalEnd(), which stops it there as ended naturally, msAgo before the queries.
    void Advance(int32_t ms) {
        std::lock_guard lock(m_mutex);
        if (m_mode != SoundDeviceMode::Playing) return;
        m_position = m_position + ms > m_length ? m_length : m_position + ms;
    }
    void FinishNaturalEnd(uint32_t msAgo = 0) {
        std::lock_guard lock(m_mutex);
        m_position = m_length;
        m_mode = SoundDeviceMode::Stopped;
        m_ended = true;
        m_endedAgo = msAgo;
    }
    // Runs once inside the next seek, after the device has moved (another thread acting while
    // the seek is under way).
    void DuringNextSeek(std::function<void()> action) {
        std::lock_guard lock(m_mutex);
        m_duringSeek = std::move(action);
    }
    void SetMode(SoundDeviceMode mode) {
        std::lock_guard lock(m_mutex);
        m_mode = mode;
    }

    std::vector<std::string> Calls() const {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }
    // The calls that change the device, without the queries.
    std::vector<std::string> Commands() const {
        std::lock_guard lock(m_mutex);
        std::vector<std::string> out;
        for (const auto& c : m_calls) {
            if (c != "mode" && c != "position" && c != "length" && c != "ended") {
                out.push_back(c);
            }
        }
        return out;
    }
    void ClearCalls() {
        std::lock_guard lock(m_mutex);
        m_calls.clear();
    }
    int32_t Position() const {
        std::lock_guard lock(m_mutex);
        return m_position;
    }
    SoundDeviceMode Mode() const {
        std::lock_guard lock(m_mutex);
        return m_mode;
    }
    bool IsOpen() const {
        std::lock_guard lock(m_mutex);
        return m_open;
    }
    uint16_t StoredVolume() const {
        std::lock_guard lock(m_mutex);
        return m_volume;
    }

    SoundResult Open(const std::string& path) override {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("open " + path);
        m_open = false;
        for (const auto& f : m_files) {
            if (f.Path == path) {
                m_open = true;
                m_length = f.LengthMs;
                m_position = 0;
                m_mode = SoundDeviceMode::Stopped;
                m_ended = false;
                return SoundResult::Success();
            }
        }
        return SoundResult::Failure("cannot open the file");
    }
    void Close() override {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("close");
        m_open = false;
        m_mode = SoundDeviceMode::Stopped;
        m_ended = false;
    }
    SoundResult GetMode(SoundDeviceMode& mode) override {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("mode");
        if (m_failMode) return SoundResult::Failure("mode query failed");
        if (!m_open) return SoundResult::Failure("no sound is open");
        mode = m_mode;
        return SoundResult::Success();
    }
    SoundResult GetPosition(int32_t& positionMs) override {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("position");
        if (m_failPosition || !m_open) return SoundResult::Failure("position query failed");
        positionMs = m_position;
        return SoundResult::Success();
    }
    SoundResult GetLength(int32_t& lengthMs) override {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("length");
        if (m_failLength || !m_open) return SoundResult::Failure("length query failed");
        lengthMs = m_length;
        return SoundResult::Success();
    }
    SoundResult Seek(int32_t positionMs) override {
        std::function<void()> during;
        {
            std::lock_guard lock(m_mutex);
            m_calls.push_back("seek " + std::to_string(positionMs));
            if (!m_open) return SoundResult::Failure("no sound is open");
            m_position = positionMs < 0 ? 0 : (positionMs > m_length ? m_length : positionMs);
            m_mode = SoundDeviceMode::Stopped;
            m_ended = false;
            during.swap(m_duringSeek);
        }
        if (during) during();
        return SoundResult::Success();
    }
    SoundResult Play() override {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("play");
        if (!m_open) return SoundResult::Failure("no sound is open");
        m_mode = SoundDeviceMode::Playing;
        m_ended = false;
        return SoundResult::Success();
    }
    SoundResult PlayFromStart() override {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("play from 0");
        if (!m_open) return SoundResult::Failure("no sound is open");
        m_position = 0;
        m_mode = SoundDeviceMode::Playing;
        m_ended = false;
        return SoundResult::Success();
    }
    SoundResult Stop() override {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("stop");
        if (m_open) m_mode = SoundDeviceMode::Stopped;
        m_ended = false;
        return SoundResult::Success();
    }
    SoundResult Pause() override {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("pause");
        if (m_mode == SoundDeviceMode::Playing) m_mode = SoundDeviceMode::Paused;
        return SoundResult::Success();
    }
    SoundResult Resume() override {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("resume");
        if (m_mode == SoundDeviceMode::Paused) m_mode = SoundDeviceMode::Playing;
        return SoundResult::Success();
    }
    std::optional<uint32_t> EndedNaturally() override {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("ended");
        if (!m_open || !m_ended) return std::nullopt;
        return m_endedAgo;
    }
    bool AudioTest() override {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("audio test");
        return m_audioPresent;
    }
    std::optional<uint16_t> GetWaveVolume() override {
        std::lock_guard lock(m_mutex);
        if (!m_audioPresent) return std::nullopt;
        return m_volume;
    }
    void SetWaveVolume(uint16_t volume) override {
        std::lock_guard lock(m_mutex);
        m_calls.push_back("volume " + std::to_string(volume));
        m_volume = volume;
    }

private:
    struct File {
        std::string Path;
        int32_t LengthMs;
    };
    mutable std::mutex m_mutex;
    std::vector<File> m_files;
    std::vector<std::string> m_calls;
    std::function<void()> m_duringSeek;
    bool m_audioPresent = true;
    bool m_failMode = false;
    bool m_failPosition = false;
    bool m_failLength = false;
    bool m_open = false;
    bool m_ended = false;
    uint32_t m_endedAgo = 0;
    int32_t m_length = 0;
    int32_t m_position = 0;
    SoundDeviceMode m_mode = SoundDeviceMode::Stopped;
    uint16_t m_volume = 0xFFFF;
};

}  // namespace lumavox
