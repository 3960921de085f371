#include "sound/player/FallbackSoundDevice.h"

namespace lumavox {

FallbackSoundDevice::FallbackSoundDevice(std::unique_ptr<ISoundDevice> server, const IClock& clock)
    : m_server(std::move(server)), m_clock(clock), m_active(m_server.get()) {}

SoundResult FallbackSoundDevice::Open(const std::string& path) {
    const bool server = m_server->AudioTest();
    ISoundDevice* const next = server ? m_server.get() : static_cast<ISoundDevice*>(&m_clock);
    if (next != m_active) m_active->Close();
    m_active = next;
    m_silent.store(!server);
    return m_active->Open(path);
}

void FallbackSoundDevice::Close() {
    m_active->Close();
}

SoundResult FallbackSoundDevice::GetMode(SoundDeviceMode& mode) {
    return m_active->GetMode(mode);
}

SoundResult FallbackSoundDevice::GetPosition(int32_t& positionMs) {
    return m_active->GetPosition(positionMs);
}

SoundResult FallbackSoundDevice::GetLength(int32_t& lengthMs) {
    return m_active->GetLength(lengthMs);
}

SoundResult FallbackSoundDevice::Seek(int32_t positionMs) {
    return m_active->Seek(positionMs);
}

SoundResult FallbackSoundDevice::Play() {
    return m_active->Play();
}

SoundResult FallbackSoundDevice::PlayFromStart() {
    return m_active->PlayFromStart();
}

SoundResult FallbackSoundDevice::Stop() {
    return m_active->Stop();
}

SoundResult FallbackSoundDevice::Pause() {
    return m_active->Pause();
}

SoundResult FallbackSoundDevice::Resume() {
    return m_active->Resume();
}

std::optional<uint32_t> FallbackSoundDevice::EndedNaturally() {
    return m_active->EndedNaturally();
}

std::optional<uint16_t> FallbackSoundDevice::GetWaveVolume() {
    return m_silent.load() ? m_clock.GetWaveVolume() : m_server->GetWaveVolume();
}

void FallbackSoundDevice::SetWaveVolume(uint16_t volume) {
    m_clock.SetWaveVolume(volume);
    m_server->SetWaveVolume(volume);
}

}  // namespace lumavox
