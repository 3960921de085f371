#include "sound/Mp3Decode.h"

#include <fcntl.h>
#include <mpg123.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <mutex>
#include <string_view>
#include <vector>

#include "sound/SoundScan.h"

namespace lumavox {

namespace {

constexpr size_t kWavHeaderSize = 44;
constexpr size_t kDecodeBufferSize = 1 << 20;
// Decoder calls in a row that yield no samples before the stream counts as broken. Gapless
// trimming and resyncing after junk give a few such calls; an endless run would be a fault.
constexpr int kMaxEmptyReads = 4096;

void InitLibrary() {
    static std::once_flag once;
    // Required before any handle by libmpg123 older than 1.27; a no-op after that.
    std::call_once(once, [] { mpg123_init(); });
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// One decoder handle, set up to give 16-bit signed samples at the stream's own rate and channel
// count, gapless, without printing anything.
class Decoder {
public:
    Decoder() {
        InitLibrary();
        int error = MPG123_OK;
        m_handle = mpg123_new(nullptr, &error);
        if (m_handle == nullptr) return;
        mpg123_param(m_handle, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
        mpg123_format_none(m_handle);
        const long* rates = nullptr;
        size_t rateCount = 0;
        mpg123_rates(&rates, &rateCount);
        for (size_t i = 0; i < rateCount; ++i) {
            mpg123_format(m_handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
        }
    }
    ~Decoder() {
        if (m_handle == nullptr) return;
        if (m_open) mpg123_close(m_handle);
        mpg123_delete(m_handle);
    }
    Decoder(const Decoder&) = delete;
    Decoder& operator=(const Decoder&) = delete;

    // Opens the file and decodes up to the first frame to learn the output format.
    bool Open(const std::string& path) {
        if (m_handle == nullptr || !IsRegularFile(path)) return false;
        if (mpg123_open(m_handle, path.c_str()) != MPG123_OK) return false;
        m_open = true;
        int encoding = 0;
        if (mpg123_getformat(m_handle, &m_rate, &m_channels, &encoding) != MPG123_OK) return false;
        return encoding == MPG123_ENC_SIGNED_16 && (m_channels == 1 || m_channels == 2) &&
               m_rate > 0;
    }

    mpg123_handle* Handle() const { return m_handle; }
    long Rate() const { return m_rate; }
    int Channels() const { return m_channels; }

private:
    mpg123_handle* m_handle = nullptr;
    bool m_open = false;
    long m_rate = 0;
    int m_channels = 0;
};

void PutLe16(unsigned char* p, uint32_t v) {
    p[0] = static_cast<unsigned char>(v & 0xFF);
    p[1] = static_cast<unsigned char>((v >> 8) & 0xFF);
}

void PutLe32(unsigned char* p, uint32_t v) {
    PutLe16(p, v & 0xFFFF);
    PutLe16(p + 2, v >> 16);
}

// Copies a chunk tag's characters (without a terminator).
void PutTag(unsigned char* p, std::string_view tag) {
    std::copy(tag.begin(), tag.end(), p);
}

// The canonical 44-byte header of a 16-bit PCM WAV file.
void FillWavHeader(unsigned char* h, uint32_t channels, uint32_t rate, uint32_t dataBytes) {
    PutTag(h, "RIFF");
    PutLe32(h + 4, 36 + dataBytes);
    PutTag(h + 8, "WAVEfmt ");
    PutLe32(h + 16, 16);
    PutLe16(h + 20, 1);
    PutLe16(h + 22, channels);
    PutLe32(h + 24, rate);
    PutLe32(h + 28, rate * channels * 2);
    PutLe16(h + 32, channels * 2);
    PutLe16(h + 34, 16);
    PutTag(h + 36, "data");
    PutLe32(h + 40, dataBytes);
}

bool WriteAll(int fd, const unsigned char* data, size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t n = pwrite(fd, data, size, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
        offset += n;
    }
    return true;
}

// "MP3 Decoding... N%" by the decoder's position in the stream, told when N changes. The length is
// mpg123's estimate (from the file size or a length tag), so N is clamped to 99 until the end.
class DecodeProgress {
public:
    DecodeProgress(mpg123_handle* handle, const SoundReadControl* control)
        : m_handle(handle), m_control(control) {
        if (m_control != nullptr && m_control->Status) m_length = mpg123_length(m_handle);
    }
    void Update() {
        if (m_length <= 0) return;
        const off_t position = std::max<off_t>(0, mpg123_tell(m_handle));
        const int percent = static_cast<int>(std::min<int64_t>(
            99, static_cast<int64_t>(position) * 100 / static_cast<int64_t>(m_length)));
        if (percent == m_percent) return;
        m_percent = percent;
        m_control->Show("MP3 Decoding... " + std::to_string(percent) + "%");
    }

private:
    mpg123_handle* m_handle;
    const SoundReadControl* m_control;
    off_t m_length = 0;
    int m_percent = 0;  // "MP3 Decoding... " itself stands for 0 %
};

// Decodes the whole stream into fd after the header's place and then writes the header.
bool DecodeInto(Decoder& decoder, int fd, const SoundReadControl* control) {
    // The RIFF size field must hold 36 + the data size.
    constexpr uint64_t kMaxDataBytes = std::numeric_limits<uint32_t>::max() - 36u;
    std::vector<unsigned char> buffer(kDecodeBufferSize);
    uint64_t dataBytes = 0;
    int emptyReads = 0;
    DecodeProgress progress(decoder.Handle(), control);
    for (;;) {
        // One buffer is about 6 s of CD-quality sound, a few milliseconds of decoding.
        if (control != nullptr && control->Cancelled()) return false;
        progress.Update();
        size_t done = 0;
        const int rc = mpg123_read(decoder.Handle(), buffer.data(), buffer.size(), &done);
        if (done > 0) {
            emptyReads = 0;
            if (dataBytes + done > kMaxDataBytes) return false;
            if (!WriteAll(fd, buffer.data(), done,
                          static_cast<off_t>(kWavHeaderSize + dataBytes))) {
                return false;
            }
            dataBytes += done;
        } else if (++emptyReads > kMaxEmptyReads) {
            return false;
        }
        if (rc == MPG123_DONE) break;
        if (rc == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0;
            int encoding = 0;
            if (mpg123_getformat(decoder.Handle(), &rate, &channels, &encoding) != MPG123_OK ||
                rate != decoder.Rate() || channels != decoder.Channels() ||
                encoding != MPG123_ENC_SIGNED_16) {
                return false;  // one WAV file holds one format
            }
            continue;
        }
        if (rc != MPG123_OK) return false;
    }
    if (dataBytes == 0) return false;
    unsigned char header[kWavHeaderSize];
    FillWavHeader(header, static_cast<uint32_t>(decoder.Channels()),
                  static_cast<uint32_t>(decoder.Rate()), static_cast<uint32_t>(dataBytes));
    return WriteAll(fd, header, sizeof header, 0);
}

}  // namespace

bool DecodeMp3(const std::string& source, const std::string& target,
               const SoundReadControl* control) {
    unlink(target.c_str());
    Decoder decoder;
    if (!decoder.Open(source)) return false;
    const int fd = open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool ok = DecodeInto(decoder, fd, control);
    if (close(fd) != 0) ok = false;
    if (!ok) unlink(target.c_str());
    return ok;
}

bool ReadMp3Info(const std::string& path, Mp3Info* info) {
    Decoder decoder;
    if (!decoder.Open(path)) return false;
    mpg123_frameinfo2 frame{};
    if (mpg123_info(decoder.Handle(), &frame) != MPG123_OK) return false;
    // Scanning the frame headers gives the exact length of streams without a length tag.
    if (mpg123_scan(decoder.Handle()) != MPG123_OK) return false;
    const off_t samples = mpg123_length(decoder.Handle());
    if (samples < 0) return false;
    const double seconds = static_cast<double>(samples) / static_cast<double>(decoder.Rate());

    int32_t bitRate = frame.bitrate;
    if (frame.vbr == MPG123_ABR && frame.abr_rate > 0) {
        bitRate = frame.abr_rate;
    } else if (frame.vbr == MPG123_VBR && seconds >= 1.0) {
        struct stat st {};
        if (stat(path.c_str(), &st) == 0) {
            const double kbps = static_cast<double>(st.st_size) * 8.0 / seconds / 1000.0;
            if (kbps < 100000.0) bitRate = static_cast<int32_t>(kbps);
        }
    }
    if (info != nullptr) {
        info->Channels = decoder.Channels();
        info->BitRate = bitRate;
        info->Rate = static_cast<int32_t>(decoder.Rate());
        info->LengthSec = static_cast<int32_t>(
            std::min(seconds, static_cast<double>(std::numeric_limits<int32_t>::max())));
    }
    return true;
}

}  // namespace lumavox
