#include "sound/player/PcmSource.h"

#include <fcntl.h>
#include <mpg123.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <mutex>

#include "sound/WaveFormat.h"

namespace lumavox {

int64_t FramesToMs(uint64_t frameCount, uint32_t rate) {
    if (rate == 0) return 0;
    return static_cast<int64_t>(frameCount / rate * 1000 + frameCount % rate * 1000 / rate);
}

namespace {

// Integer PCM of 1 to 4 bytes per sample (8-bit unsigned) or 32-bit float, little-endian,
// converted to 16 bits as the waveform reader converts it.
class WavPcmSource final : public IPcmSource {
public:
    WavPcmSource(int fd, const WaveLayout& layout)
        : m_fd(fd),
          m_format(layout.Format),
          m_rate(layout.Format.Rate),
          m_channels(layout.Format.Channels),
          m_blockAlign(layout.Format.BlockAlign),
          m_dataOffset(layout.Data.Offset),
          m_frameCount(layout.Data.Bytes / layout.Format.BlockAlign) {}
    ~WavPcmSource() override { close(m_fd); }

    uint32_t Rate() const override { return m_rate; }
    uint32_t Channels() const override { return m_channels; }
    uint64_t FrameCount() const override { return m_frameCount; }

    bool Seek(uint64_t frame) override {
        m_frame = std::min(frame, m_frameCount);
        return true;
    }

    size_t Read(int16_t* out, size_t frameCount) override {
        size_t done = 0;
        while (done < frameCount && m_frame < m_frameCount) {
            const uint64_t chunkFrames = std::min<uint64_t>(
                {frameCount - done, m_frameCount - m_frame, m_buffer.size() / m_blockAlign});
            const size_t bytes = static_cast<size_t>(chunkFrames * m_blockAlign);
            const auto offset = static_cast<off_t>(m_dataOffset + m_frame * m_blockAlign);
            const ssize_t got = pread(m_fd, m_buffer.data(), bytes, offset);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;  // the file shrank or cannot be read: the sound ends here
            const size_t frames = static_cast<size_t>(got) / m_blockAlign;
            if (frames == 0) break;
            ConvertWaveSamples(m_format, m_buffer.data(), frames, out + done * m_channels);
            done += frames;
            m_frame += frames;
        }
        return done;
    }

private:
    int m_fd;
    WaveFormat m_format;
    uint32_t m_rate;
    uint32_t m_channels;
    uint32_t m_blockAlign;
    uint64_t m_dataOffset;
    uint64_t m_frameCount;
    uint64_t m_frame = 0;
    std::array<unsigned char, 16384> m_buffer{};
};

class Mp3PcmSource final : public IPcmSource {
public:
    explicit Mp3PcmSource(mpg123_handle* handle, uint32_t rate, uint32_t channels, uint64_t frames)
        : m_handle(handle), m_rate(rate), m_channels(channels), m_frameCount(frames) {}
    ~Mp3PcmSource() override {
        mpg123_close(m_handle);
        mpg123_delete(m_handle);
    }

    uint32_t Rate() const override { return m_rate; }
    uint32_t Channels() const override { return m_channels; }
    uint64_t FrameCount() const override { return m_frameCount; }

    bool Seek(uint64_t frame) override {
        m_frame = std::min(frame, m_frameCount);
        return mpg123_seek(m_handle, static_cast<off_t>(m_frame), SEEK_SET) >= 0;
    }

    size_t Read(int16_t* out, size_t frameCount) override {
        size_t done = 0;
        const size_t frameBytes = sizeof(int16_t) * m_channels;
        while (done < frameCount && m_frame < m_frameCount) {
            const size_t want =
                static_cast<size_t>(std::min<uint64_t>(frameCount - done, m_frameCount - m_frame));
            size_t got = 0;
            const int err =
                mpg123_read(m_handle, reinterpret_cast<unsigned char*>(out + done * m_channels),
                            want * frameBytes, &got);
            const size_t frames = got / frameBytes;
            done += frames;
            m_frame += frames;
            if (err != MPG123_OK || frames == 0) {
                if (err == MPG123_NEW_FORMAT && frames == 0) continue;  // announced, no data lost
                break;
            }
        }
        return done;
    }

private:
    mpg123_handle* m_handle;
    uint32_t m_rate;
    uint32_t m_channels;
    uint64_t m_frameCount;
    uint64_t m_frame = 0;
};

PcmSourceResult OpenWav(const std::string& path) {
    const WaveLayout layout = ReadWaveLayout(path);
    if (!layout.Opened) return {nullptr, "the file cannot be opened"};
    if (layout.Fault != WaveFault::None) return {nullptr, WaveFaultText(layout.Fault)};
    const WaveFormat& format = layout.Format;
    if (!WaveSamplesReadable(format)) {
        return {nullptr, WaveFaultText(WaveFault::NoSupportFrm)};
    }
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {nullptr, "the file cannot be opened"};
    return {std::make_unique<WavPcmSource>(fd, layout), {}};
}

PcmSourceResult OpenMp3(const std::string& path) {
    static std::once_flag once;
    // Required before any handle by libmpg123 older than 1.27; a no-op after that.
    std::call_once(once, [] { mpg123_init(); });
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (!handle) return {nullptr, "the MP3 decoder cannot be started"};
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    auto fail = [handle](std::string_view text) {
        mpg123_delete(handle);
        return PcmSourceResult{nullptr, text};
    };
    if (mpg123_open(handle, path.c_str()) != MPG123_OK) return fail("the file cannot be opened");
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 ||
        channels < 1 || channels > 2) {
        mpg123_close(handle);
        return fail("the file holds no MPEG audio");
    }
    // One fixed output format: 16-bit at the stream's own rate and channel count.
    mpg123_format_none(handle);
    mpg123_format(handle, rate, channels, MPG123_ENC_SIGNED_16);
    if (mpg123_scan(handle) != MPG123_OK) {
        mpg123_close(handle);
        return fail("the MP3 stream cannot be scanned");
    }
    const off_t frames = mpg123_length(handle);
    if (frames <= 0) {
        mpg123_close(handle);
        return fail("the file holds no MPEG audio");
    }
    if (mpg123_seek(handle, 0, SEEK_SET) < 0) {
        mpg123_close(handle);
        return fail("the MP3 stream cannot be scanned");
    }
    return {std::make_unique<Mp3PcmSource>(handle, static_cast<uint32_t>(rate),
                                           static_cast<uint32_t>(channels),
                                           static_cast<uint64_t>(frames)),
            {}};
}

bool StartsWithRiff(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    char head[4] = {};
    const ssize_t got = pread(fd, head, sizeof head, 0);
    close(fd);
    return got == 4 && std::string_view(head, 4) == "RIFF";
}

}  // namespace

PcmSourceResult OpenPcmSource(const std::string& path) {
    if (StartsWithRiff(path)) return OpenWav(path);
    return OpenMp3(path);
}

}  // namespace lumavox
