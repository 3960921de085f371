#include "sound/player/PulseSoundDevice.h"

#include <pulse/pulseaudio.h>
#include <sys/eventfd.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <mutex>

#include "sound/player/Gain.h"
#include "sound/player/LatestValue.h"
#include "sound/player/PcmSource.h"

namespace lumavox {

namespace {

constexpr int64_t kUsPerSecond = 1000000;
constexpr pa_usec_t kTargetLatencyUs = 50000;
constexpr pa_usec_t kPublishPeriodUs = 10000;
// While nothing plays the position cannot move: after this many quiet periods the timer slows
// down, so an idle program does not wake 100 times a second. Any request or a ready stream
// brings the short period back at once.
constexpr int kQuietPublishes = 20;
constexpr pa_usec_t kQuietPublishPeriodUs = 500000;
// A position is extrapolated at most this far past the last published one, so a stalled main
// loop holds the position instead of letting it run on.
constexpr int64_t kMaxExtrapolationUs = 50000;
// The server confirms a drain when it has taken the last frame into the sink; the frame is heard
// one sink latency later. A reported latency beyond this is not believed.
constexpr int64_t kMaxSinkLatencyUs = 1000000;
constexpr std::chrono::milliseconds kConnectBound{3000};
constexpr std::chrono::milliseconds kAudioTestBound{1500};

int64_t NowUs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * kUsPerSecond + ts.tv_nsec / 1000;
}

// What the caller wants the main loop to play: segment ids grow with every new start position.
struct DesiredState {
    uint64_t Segment = 0;  // 0: nothing yet
    uint64_t StartFrame = 0;
    uint32_t Playing = 0;  // 1: uncorked
    uint32_t Padding = 0;
};

// What the main loop last measured of the current segment's stream.
struct PlayedState {
    uint64_t Segment = 0;
    uint64_t Frame = 0;          // file frame audible at TimestampUs
    int64_t TimestampUs = 0;     // CLOCK_MONOTONIC
    int64_t EndTimestampUs = 0;  // when the last frame is (or will be) heard, 0 before it is known
    uint32_t Running = 0;        // uncorked and playing: Frame advances with time
    uint32_t Padding = 0;
};

std::string_view ErrorText(int error) {
    const char* text = pa_strerror(error);  // static texts
    return text ? std::string_view(text) : std::string_view("sound server error");
}

}  // namespace

struct PulseSoundDevice::Impl {
    Impl();
    ~Impl();

    // ---- main loop side: everything below is used with the main loop's lock held ----
    static void ContextStateCallback(pa_context* context, void* userdata);
    static void StreamStateCallback(pa_stream* stream, void* userdata);
    static void WriteCallback(pa_stream* stream, size_t bytes, void* userdata);
    static void DrainCallback(pa_stream* stream, int success, void* userdata);
    static void TimingCallback(pa_stream* stream, int success, void* userdata);
    static void PublishCallback(pa_mainloop_api* api, pa_time_event* event, const timeval* tv,
                                void* userdata);
    static void TimeoutCallback(pa_mainloop_api* api, pa_time_event* event, const timeval* tv,
                                void* userdata);
    static void WakeCallback(pa_mainloop_api* api, pa_io_event* event, int fd,
                             pa_io_event_flags_t flags, void* userdata);

    bool EnsureContext(std::chrono::milliseconds bound);  // takes the lock itself
    void FreeContext();
    void Reconcile();
    void CreateStream(uint64_t segment, uint64_t startFrame);
    void DestroyStream();
    void RetireStream();
    void DropRetiredStream();
    void Fill(size_t bytes);
    void Publish();
    void PublishSoon();

    pa_threaded_mainloop* Loop = nullptr;
    pa_mainloop_api* Api = nullptr;
    pa_context* Context = nullptr;
    pa_time_event* PublishTimer = nullptr;
    pa_io_event* WakeEvent = nullptr;
    int WakeFd = -1;
    bool ConnectTimedOut = false;
    int QuietPublishes = 0;  // publish periods in a row without a running stream

    std::unique_ptr<IPcmSource> Source;
    uint32_t SourceRate = 0;
    uint32_t SourceChannels = 0;
    uint64_t SourceFrames = 0;
    uint64_t SourceReadFrame = 0;

    pa_stream* Stream = nullptr;
    // The previous segment's stream, corked, kept connected until its successor is ready. A sink
    // left without any stream forgets the low latency the streams asked for: a null sink then
    // renders up to 2 s of silence ahead at once, and the next stream only starts after it.
    pa_stream* Retired = nullptr;
    uint64_t StreamSegment = 0;
    uint64_t StreamStartFrame = 0;
    uint64_t StreamWrittenFrames = 0;
    bool StreamCorked = true;
    bool AllWritten = false;
    bool Draining = false;
    DesiredState LastDesired;  // the caller's wish as last read whole
    int64_t DrainEndUs = 0;    // when the drained stream's last frame is heard, 0 before the drain
    int64_t EndUs = 0;
    uint64_t LastPublishedFrame = 0;

    // ---- shared without locks ----
    LatestValue<DesiredState> Desired;  // written by the caller side only
    LatestValue<PlayedState> Played;    // written by the main loop only
    // Left gain in the low 16 bits, right in the high 16 bits; read by the main loop per write.
    std::atomic<uint32_t> Volume{0xFFFFFFFFu};
    // The last server failure (a pa error code), 0 while the connection is good. Relaxed is
    // enough: it only selects an error text.
    std::atomic<int> ServerError{0};

    // ---- caller side, under CallerMutex ----
    void NewSegment(int32_t startMs, SoundDeviceMode mode);
    void PublishDesired();
    const PlayedState& ReadPlayed();
    int32_t PositionNow();
    void CheckNaturalEnd();
    uint64_t MsToFrames(int32_t ms) const { return static_cast<uint64_t>(ms) * CallerRate / 1000; }

    std::mutex CallerMutex;
    bool IsOpen = false;
    uint32_t CallerRate = 0;
    int32_t LengthMs = 0;
    SoundDeviceMode Mode = SoundDeviceMode::Stopped;
    uint64_t Segment = 0;
    int32_t SegmentStartMs = 0;
    bool SegmentFresh = false;   // its stream has not been played yet
    bool Ended = false;          // stopped by the natural end, no command since
    int64_t EndedAtUs = 0;       // when the last frame was heard
    PlayedState LastPlayed;      // the main loop's report as last read whole
    int32_t HeldMs = 0;          // the position while stopped or paused
    int32_t LastReportedMs = 0;  // the position never goes back within a segment
};

PulseSoundDevice::Impl::Impl() {
    Loop = pa_threaded_mainloop_new();
    if (!Loop) return;
    Api = pa_threaded_mainloop_get_api(Loop);
    WakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    pa_threaded_mainloop_lock(Loop);
    if (WakeFd >= 0) WakeEvent = Api->io_new(Api, WakeFd, PA_IO_EVENT_INPUT, WakeCallback, this);
    pa_threaded_mainloop_unlock(Loop);
    if (pa_threaded_mainloop_start(Loop) < 0) {
        pa_threaded_mainloop_free(Loop);
        Loop = nullptr;
    }
}

PulseSoundDevice::Impl::~Impl() {
    if (Loop) {
        pa_threaded_mainloop_lock(Loop);
        FreeContext();
        Source.reset();
        if (WakeEvent) Api->io_free(WakeEvent);
        pa_threaded_mainloop_unlock(Loop);
        pa_threaded_mainloop_stop(Loop);
        pa_threaded_mainloop_free(Loop);
    }
    if (WakeFd >= 0) close(WakeFd);
}

void PulseSoundDevice::Impl::ContextStateCallback(pa_context* context, void* userdata) {
    auto* self = static_cast<Impl*>(userdata);
    const pa_context_state_t state = pa_context_get_state(context);
    if (context == self->Context && !PA_CONTEXT_IS_GOOD(state)) {
        const int error = pa_context_errno(context);
        self->ServerError.store(error != 0 ? error : PA_ERR_CONNECTIONTERMINATED,
                                std::memory_order_relaxed);
    }
    pa_threaded_mainloop_signal(self->Loop, 0);
}

void PulseSoundDevice::Impl::StreamStateCallback(pa_stream* stream, void* userdata) {
    auto* self = static_cast<Impl*>(userdata);
    if (stream != self->Stream) return;
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (state == PA_STREAM_READY) {
        self->DropRetiredStream();
        self->PublishSoon();
        self->Reconcile();
    } else if (state == PA_STREAM_FAILED) {
        self->DropRetiredStream();
        const int error = pa_context_errno(self->Context);
        self->ServerError.store(error != 0 ? error : PA_ERR_UNKNOWN, std::memory_order_relaxed);
    }
}

void PulseSoundDevice::Impl::WriteCallback(pa_stream* stream, size_t bytes, void* userdata) {
    auto* self = static_cast<Impl*>(userdata);
    if (stream == self->Stream) self->Fill(bytes);
}

void PulseSoundDevice::Impl::DrainCallback(pa_stream* stream, int success, void* userdata) {
    auto* self = static_cast<Impl*>(userdata);
    if (stream == self->Stream && success) {
        const pa_timing_info* timing = pa_stream_get_timing_info(stream);
        const int64_t latencyUs =
            timing ? std::min<int64_t>(static_cast<int64_t>(timing->sink_usec), kMaxSinkLatencyUs)
                   : 0;
        self->DrainEndUs = NowUs() + latencyUs;
        self->Publish();
    }
}

void PulseSoundDevice::Impl::PublishCallback(pa_mainloop_api*, pa_time_event* event, const timeval*,
                                             void* userdata) {
    auto* self = static_cast<Impl*>(userdata);
    // A fresh timing report every period; the position is published when it arrives.
    if (self->Stream && pa_stream_get_state(self->Stream) == PA_STREAM_READY) {
        if (pa_operation* op = pa_stream_update_timing_info(self->Stream, TimingCallback, self)) {
            pa_operation_unref(op);
        }
    }
    self->Publish();
    const bool ended = self->EndUs != 0 && NowUs() >= self->EndUs;
    const bool running = self->Stream && !self->StreamCorked && !ended;
    self->QuietPublishes = running ? 0 : std::min(self->QuietPublishes + 1, kQuietPublishes);
    const pa_usec_t period =
        self->QuietPublishes >= kQuietPublishes ? kQuietPublishPeriodUs : kPublishPeriodUs;
    if (self->Context) pa_context_rttime_restart(self->Context, event, pa_rtclock_now() + period);
}

void PulseSoundDevice::Impl::PublishSoon() {
    QuietPublishes = 0;
    if (Context && PublishTimer) {
        pa_context_rttime_restart(Context, PublishTimer, pa_rtclock_now() + kPublishPeriodUs);
    }
}

void PulseSoundDevice::Impl::TimeoutCallback(pa_mainloop_api*, pa_time_event*, const timeval*,
                                             void* userdata) {
    auto* self = static_cast<Impl*>(userdata);
    self->ConnectTimedOut = true;
    pa_threaded_mainloop_signal(self->Loop, 0);
}

void PulseSoundDevice::Impl::WakeCallback(pa_mainloop_api*, pa_io_event*, int fd,
                                          pa_io_event_flags_t, void* userdata) {
    uint64_t count = 0;
    while (read(fd, &count, sizeof count) < 0 && errno == EINTR) {
    }
    auto* self = static_cast<Impl*>(userdata);
    self->PublishSoon();
    self->Reconcile();
}

bool PulseSoundDevice::Impl::EnsureContext(std::chrono::milliseconds bound) {
    if (!Loop) return false;
    pa_threaded_mainloop_lock(Loop);
    if (Context && pa_context_get_state(Context) == PA_CONTEXT_READY) {
        pa_threaded_mainloop_unlock(Loop);
        return true;
    }
    FreeContext();
    Context = pa_context_new(Api, "Lumavox");
    bool ready = false;
    if (Context) {
        pa_context_set_state_callback(Context, ContextStateCallback, this);
        if (pa_context_connect(Context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
            ConnectTimedOut = false;
            const auto boundUs = static_cast<pa_usec_t>(
                std::chrono::duration_cast<std::chrono::microseconds>(bound).count());
            pa_time_event* timeout =
                pa_context_rttime_new(Context, pa_rtclock_now() + boundUs, TimeoutCallback, this);
            for (;;) {
                const pa_context_state_t state = pa_context_get_state(Context);
                if (state == PA_CONTEXT_READY) {
                    ready = true;
                    break;
                }
                if (!PA_CONTEXT_IS_GOOD(state) || ConnectTimedOut) break;
                pa_threaded_mainloop_wait(Loop);
            }
            if (timeout) Api->time_free(timeout);
        }
        if (ready) {
            ServerError.store(0, std::memory_order_relaxed);
            PublishTimer = pa_context_rttime_new(Context, pa_rtclock_now() + kPublishPeriodUs,
                                                 PublishCallback, this);
        } else {
            const int error = pa_context_errno(Context);
            ServerError.store(error != 0 ? error : PA_ERR_TIMEOUT, std::memory_order_relaxed);
            FreeContext();
        }
    } else {
        ServerError.store(PA_ERR_INTERNAL, std::memory_order_relaxed);
    }
    pa_threaded_mainloop_unlock(Loop);
    return ready;
}

void PulseSoundDevice::Impl::FreeContext() {
    DestroyStream();
    if (PublishTimer) {
        Api->time_free(PublishTimer);
        PublishTimer = nullptr;
    }
    if (Context) {
        pa_context_set_state_callback(Context, nullptr, nullptr);
        pa_context_disconnect(Context);
        pa_context_unref(Context);
        Context = nullptr;
    }
}

// Brings the stream in line with the caller's wish: a new segment gets a new corked stream at its
// start frame (a flushed corked stream would replay stale audio), and the cork follows the mode.
// The old stream stays, corked, until the new one is ready, so the sink is never without one.
void PulseSoundDevice::Impl::Reconcile() {
    if (!Context || pa_context_get_state(Context) != PA_CONTEXT_READY || !Source) return;
    // A write under way is followed by another wake-up, which reads it whole.
    Desired.Read(LastDesired);
    const DesiredState desired = LastDesired;
    if (desired.Segment == 0) return;
    if (!Stream || StreamSegment != desired.Segment) {
        RetireStream();
        CreateStream(desired.Segment, desired.StartFrame);
        if (!Stream) return;
    }
    if (pa_stream_get_state(Stream) != PA_STREAM_READY) return;  // again once it is ready
    const bool corked = desired.Playing == 0;
    if (corked != StreamCorked) {
        if (pa_operation* op = pa_stream_cork(Stream, corked ? 1 : 0, nullptr, nullptr)) {
            pa_operation_unref(op);
        }
        StreamCorked = corked;
        if (!corked && AllWritten && !Draining) Fill(0);  // a tail shorter than the prebuffer
    }
}

void PulseSoundDevice::Impl::CreateStream(uint64_t segment, uint64_t startFrame) {
    pa_sample_spec format{};
    format.format = PA_SAMPLE_S16LE;
    format.rate = SourceRate;
    format.channels = static_cast<uint8_t>(SourceChannels);
    Stream = pa_stream_new(Context, "Lumavox", &format, nullptr);
    if (!Stream) {
        ServerError.store(pa_context_errno(Context), std::memory_order_relaxed);
        return;
    }
    StreamSegment = segment;
    StreamStartFrame = std::min(startFrame, SourceFrames);
    StreamWrittenFrames = 0;
    StreamCorked = true;
    AllWritten = false;
    Draining = false;
    DrainEndUs = 0;
    EndUs = 0;
    LastPublishedFrame = StreamStartFrame;
    pa_stream_set_state_callback(Stream, StreamStateCallback, this);
    pa_stream_set_write_callback(Stream, WriteCallback, this);

    pa_buffer_attr attr{};
    attr.maxlength = static_cast<uint32_t>(-1);
    attr.tlength = static_cast<uint32_t>(pa_usec_to_bytes(kTargetLatencyUs, &format));
    attr.prebuf = static_cast<uint32_t>(-1);
    attr.minreq = static_cast<uint32_t>(-1);
    attr.fragsize = static_cast<uint32_t>(-1);
    const auto flags = static_cast<pa_stream_flags_t>(
        PA_STREAM_START_CORKED | PA_STREAM_AUTO_TIMING_UPDATE | PA_STREAM_ADJUST_LATENCY);
    if (pa_stream_connect_playback(Stream, nullptr, &attr, flags, nullptr, nullptr) < 0) {
        ServerError.store(pa_context_errno(Context), std::memory_order_relaxed);
        DestroyStream();
    }
}

namespace {

void Disconnect(pa_stream* stream) {
    pa_stream_set_state_callback(stream, nullptr, nullptr);
    pa_stream_set_write_callback(stream, nullptr, nullptr);
    if (pa_stream_get_state(stream) == PA_STREAM_READY ||
        pa_stream_get_state(stream) == PA_STREAM_CREATING) {
        pa_stream_disconnect(stream);
    }
    pa_stream_unref(stream);
}

}  // namespace

void PulseSoundDevice::Impl::DestroyStream() {
    DropRetiredStream();
    if (!Stream) return;
    Disconnect(Stream);
    Stream = nullptr;
}

// Silences the current stream and keeps it until the next one is ready. A stream that never got
// ready holds nothing on the server and goes at once, leaving an earlier retired one in place.
void PulseSoundDevice::Impl::RetireStream() {
    if (!Stream) return;
    if (pa_stream_get_state(Stream) == PA_STREAM_READY) {
        DropRetiredStream();
        pa_stream_set_write_callback(Stream, nullptr, nullptr);
        if (!StreamCorked) {
            if (pa_operation* op = pa_stream_cork(Stream, 1, nullptr, nullptr)) {
                pa_operation_unref(op);
            }
        }
        Retired = Stream;
    } else {
        Disconnect(Stream);
    }
    Stream = nullptr;
}

void PulseSoundDevice::Impl::DropRetiredStream() {
    if (!Retired) return;
    Disconnect(Retired);
    Retired = nullptr;
}

// Writes up to bytes of the segment's next frames, with the volume applied; at the end of the
// file asks the server to drain, which also starts a tail shorter than the prebuffer.
void PulseSoundDevice::Impl::Fill(size_t bytes) {
    if (!Stream || !Source) return;
    const size_t frameBytes = sizeof(int16_t) * SourceChannels;
    while (!AllWritten && bytes >= frameBytes) {
        const uint64_t next = StreamStartFrame + StreamWrittenFrames;
        if (SourceReadFrame != next) {
            Source->Seek(next);
            SourceReadFrame = next;
        }
        void* data = nullptr;
        size_t size = bytes;
        if (pa_stream_begin_write(Stream, &data, &size) < 0 || !data) break;
        const size_t frames = std::min(size, bytes) / frameBytes;
        auto* samples = static_cast<int16_t*>(data);
        const size_t got = frames > 0 ? Source->Read(samples, frames) : 0;
        if (got == 0) {
            pa_stream_cancel_write(Stream);
            if (frames > 0) AllWritten = true;
            break;
        }
        ApplyGain(samples, got, SourceChannels, Volume.load(std::memory_order_relaxed));
        pa_stream_write(Stream, data, got * frameBytes, nullptr, 0, PA_SEEK_RELATIVE);
        StreamWrittenFrames += got;
        SourceReadFrame += got;
        bytes -= got * frameBytes;
        if (got < frames) AllWritten = true;
    }
    if (StreamStartFrame + StreamWrittenFrames >= SourceFrames) AllWritten = true;
    if (AllWritten && !Draining && !StreamCorked) {
        Draining = true;
        if (pa_operation* op = pa_stream_drain(Stream, DrainCallback, this)) pa_operation_unref(op);
    }
}

// Publishes the frame now audible: the frames the server has taken from the stream (its read
// index) minus those still queued in the sink (its reported latency), carried forward to now while
// the stream plays, rounded once to whole frames. libpulse's own interpolated stream time is not
// used: a stream that was created corked and uncorked much later reports the corked time as
// played.
//
// The end is known when that frame comes within a millisecond of the last one, or when the
// server has confirmed the drain: then the last frame is heard one sink latency after the
// confirmation, a time that may still lie ahead and is published as such.
void PulseSoundDevice::Impl::Publish() {
    if (!Stream || pa_stream_get_state(Stream) != PA_STREAM_READY) return;
    const pa_timing_info* timing = pa_stream_get_timing_info(Stream);
    if (!timing || timing->read_index_corrupt || timing->read_index < 0) return;
    const int64_t frameBytes = static_cast<int64_t>(sizeof(int16_t) * SourceChannels);
    const int64_t rate = static_cast<int64_t>(SourceRate);
    const bool running = !StreamCorked && timing->playing != 0;
    int64_t offsetUs =
        -std::min<int64_t>(static_cast<int64_t>(timing->sink_usec), kMaxSinkLatencyUs);
    if (running) {
        offsetUs += std::min<int64_t>(static_cast<int64_t>(pa_timeval_age(&timing->timestamp)),
                                      kMaxExtrapolationUs);
    }
    const int64_t offsetFrames =
        (offsetUs * rate + (offsetUs < 0 ? -kUsPerSecond / 2 : kUsPerSecond / 2)) / kUsPerSecond;
    const int64_t playedFrames =
        std::max<int64_t>(timing->read_index / frameBytes + offsetFrames, 0);
    const int64_t now = NowUs();
    uint64_t frame = std::min(StreamStartFrame + static_cast<uint64_t>(playedFrames), SourceFrames);
    frame = std::max(frame, LastPublishedFrame);  // never backwards within the segment
    if (EndUs == 0 && AllWritten) {
        if (frame + SourceRate / 1000 >= SourceFrames) {
            EndUs = now;
        } else if (DrainEndUs != 0) {
            EndUs = DrainEndUs;
        }
    }
    const bool ended = EndUs != 0 && now >= EndUs;
    if (ended) frame = SourceFrames;
    LastPublishedFrame = frame;
    PlayedState state;
    state.Segment = StreamSegment;
    state.Frame = frame;
    state.TimestampUs = now;
    state.EndTimestampUs = EndUs;
    state.Running = (running && !ended) ? 1 : 0;
    Played.Write(state);
}

void PulseSoundDevice::Impl::TimingCallback(pa_stream* stream, int success, void* userdata) {
    auto* self = static_cast<Impl*>(userdata);
    if (stream == self->Stream && success) self->Publish();
}

// ---- caller side ----

void PulseSoundDevice::Impl::PublishDesired() {
    DesiredState desired;
    desired.Segment = Segment;
    desired.StartFrame = MsToFrames(SegmentStartMs);
    desired.Playing = Mode == SoundDeviceMode::Playing ? 1 : 0;
    Desired.Write(desired);
    if (WakeFd >= 0) {
        const uint64_t one = 1;
        while (write(WakeFd, &one, sizeof one) < 0 && errno == EINTR) {
        }
    }
}

void PulseSoundDevice::Impl::NewSegment(int32_t startMs, SoundDeviceMode mode) {
    ++Segment;
    SegmentStartMs = std::clamp(startMs, 0, LengthMs);
    LastReportedMs = SegmentStartMs;
    HeldMs = SegmentStartMs;
    Mode = mode;
    SegmentFresh = mode != SoundDeviceMode::Playing;
    Ended = false;
    PublishDesired();
}

const PlayedState& PulseSoundDevice::Impl::ReadPlayed() {
    Played.Read(LastPlayed);
    return LastPlayed;
}

int32_t PulseSoundDevice::Impl::PositionNow() {
    const PlayedState& played = ReadPlayed();
    if (played.Segment != Segment) return LastReportedMs;  // its audio has not started yet
    int64_t ms;
    if (played.EndTimestampUs != 0 && NowUs() >= played.EndTimestampUs) {
        ms = LengthMs;
    } else {
        uint64_t frame = played.Frame;
        if (played.Running) {
            const int64_t ahead =
                std::clamp<int64_t>(NowUs() - played.TimestampUs, 0, kMaxExtrapolationUs);
            frame += static_cast<uint64_t>(ahead) * CallerRate / kUsPerSecond;
        }
        // the length itself is reported once the end has been declared, with the mode "stopped"
        ms = std::min<int64_t>(FramesToMs(frame, CallerRate), std::max(LengthMs - 1, 0));
    }
    LastReportedMs = std::max(LastReportedMs, static_cast<int32_t>(ms));
    return LastReportedMs;
}

// The sound stops at its length as soon as its last frame has been heard. A stream at 0 is made
// ready at once, so that playing it again from the start (a repeat) only has to uncork it.
void PulseSoundDevice::Impl::CheckNaturalEnd() {
    if (Mode != SoundDeviceMode::Playing) return;
    const PlayedState& played = ReadPlayed();
    if (played.Segment == Segment && played.EndTimestampUs != 0 &&
        NowUs() >= played.EndTimestampUs) {
        NewSegment(0, SoundDeviceMode::Stopped);
        HeldMs = LengthMs;
        Ended = true;
        EndedAtUs = played.EndTimestampUs;
    }
}

// ---- PulseSoundDevice ----

PulseSoundDevice::PulseSoundDevice() : m_impl(std::make_unique<Impl>()) {}

PulseSoundDevice::~PulseSoundDevice() = default;

SoundResult PulseSoundDevice::Open(const std::string& path) {
    Close();
    PcmSourceResult opened = OpenPcmSource(path);
    if (!opened.Source) return SoundResult::Failure(opened.Error);
    const int64_t lengthMs = FramesToMs(opened.Source->FrameCount(), opened.Source->Rate());
    if (lengthMs > INT32_MAX) return SoundResult::Failure("the sound is too long");
    // Without a server the file still opens (its length is known); playing then reports the
    // server error.
    m_impl->EnsureContext(kConnectBound);

    Impl& d = *m_impl;
    std::lock_guard<std::mutex> caller(d.CallerMutex);
    if (d.Loop) {
        pa_threaded_mainloop_lock(d.Loop);
        d.SourceRate = opened.Source->Rate();
        d.SourceChannels = opened.Source->Channels();
        d.SourceFrames = opened.Source->FrameCount();
        d.SourceReadFrame = 0;
        d.Source = std::move(opened.Source);
        pa_threaded_mainloop_unlock(d.Loop);
    }
    d.IsOpen = true;
    d.CallerRate = d.SourceRate;
    d.LengthMs = static_cast<int32_t>(lengthMs);
    d.NewSegment(0, SoundDeviceMode::Stopped);  // prepares a corked stream at 0
    return SoundResult::Success();
}

void PulseSoundDevice::Close() {
    Impl& d = *m_impl;
    std::lock_guard<std::mutex> caller(d.CallerMutex);
    d.IsOpen = false;
    d.Mode = SoundDeviceMode::Stopped;
    d.Ended = false;
    if (!d.Loop) return;
    pa_threaded_mainloop_lock(d.Loop);
    d.DestroyStream();
    d.Source.reset();
    pa_threaded_mainloop_unlock(d.Loop);
}

SoundResult PulseSoundDevice::GetMode(SoundDeviceMode& mode) {
    Impl& d = *m_impl;
    std::lock_guard<std::mutex> caller(d.CallerMutex);
    if (!d.IsOpen) return SoundResult::Failure("no sound is open");
    if (const int error = d.ServerError.load(std::memory_order_relaxed)) {
        return SoundResult::Failure(ErrorText(error));
    }
    d.CheckNaturalEnd();
    mode = d.Mode;
    return SoundResult::Success();
}

SoundResult PulseSoundDevice::GetPosition(int32_t& positionMs) {
    Impl& d = *m_impl;
    std::lock_guard<std::mutex> caller(d.CallerMutex);
    if (!d.IsOpen) return SoundResult::Failure("no sound is open");
    d.CheckNaturalEnd();
    positionMs = d.Mode == SoundDeviceMode::Playing ? d.PositionNow() : d.HeldMs;
    return SoundResult::Success();
}

SoundResult PulseSoundDevice::GetLength(int32_t& lengthMs) {
    Impl& d = *m_impl;
    std::lock_guard<std::mutex> caller(d.CallerMutex);
    if (!d.IsOpen) return SoundResult::Failure("no sound is open");
    lengthMs = d.LengthMs;
    return SoundResult::Success();
}

SoundResult PulseSoundDevice::Seek(int32_t positionMs) {
    Impl& d = *m_impl;
    std::lock_guard<std::mutex> caller(d.CallerMutex);
    if (!d.IsOpen) return SoundResult::Failure("no sound is open");
    d.NewSegment(positionMs, SoundDeviceMode::Stopped);
    return SoundResult::Success();
}

SoundResult PulseSoundDevice::Play() {
    Impl& d = *m_impl;
    std::lock_guard<std::mutex> caller(d.CallerMutex);
    if (!d.IsOpen) return SoundResult::Failure("no sound is open");
    d.CheckNaturalEnd();
    if (d.Mode == SoundDeviceMode::Playing) return SoundResult::Success();
    // A prepared stream serves only when it starts where the device stands (after the natural
    // end the device stands at the length with a stream at 0 prepared).
    if (d.Mode == SoundDeviceMode::Paused || (d.SegmentFresh && d.HeldMs == d.SegmentStartMs)) {
        d.Mode = SoundDeviceMode::Playing;
        d.SegmentFresh = false;
        d.Ended = false;
        d.PublishDesired();
    } else {
        d.NewSegment(d.HeldMs, SoundDeviceMode::Playing);
    }
    return SoundResult::Success();
}

SoundResult PulseSoundDevice::PlayFromStart() {
    Impl& d = *m_impl;
    std::lock_guard<std::mutex> caller(d.CallerMutex);
    if (!d.IsOpen) return SoundResult::Failure("no sound is open");
    if (d.Mode == SoundDeviceMode::Stopped && d.SegmentFresh && d.SegmentStartMs == 0) {
        d.Mode = SoundDeviceMode::Playing;  // the prepared stream at 0 only needs uncorking
        d.SegmentFresh = false;
        d.Ended = false;
        d.PublishDesired();
    } else {
        d.NewSegment(0, SoundDeviceMode::Playing);
    }
    return SoundResult::Success();
}

SoundResult PulseSoundDevice::Stop() {
    Impl& d = *m_impl;
    std::lock_guard<std::mutex> caller(d.CallerMutex);
    if (!d.IsOpen) return SoundResult::Failure("no sound is open");
    d.CheckNaturalEnd();
    if (d.Mode == SoundDeviceMode::Playing) {
        d.NewSegment(d.PositionNow(), SoundDeviceMode::Stopped);
    } else if (d.Mode == SoundDeviceMode::Paused) {
        d.NewSegment(d.HeldMs, SoundDeviceMode::Stopped);
    }
    d.Ended = false;
    return SoundResult::Success();
}

SoundResult PulseSoundDevice::Pause() {
    Impl& d = *m_impl;
    std::lock_guard<std::mutex> caller(d.CallerMutex);
    if (!d.IsOpen) return SoundResult::Failure("no sound is open");
    d.CheckNaturalEnd();
    if (d.Mode == SoundDeviceMode::Playing) {
        d.HeldMs = d.PositionNow();
        d.Mode = SoundDeviceMode::Paused;
        d.PublishDesired();
    }
    return SoundResult::Success();
}

SoundResult PulseSoundDevice::Resume() {
    Impl& d = *m_impl;
    std::lock_guard<std::mutex> caller(d.CallerMutex);
    if (!d.IsOpen) return SoundResult::Failure("no sound is open");
    if (d.Mode == SoundDeviceMode::Paused) {
        d.Mode = SoundDeviceMode::Playing;
        d.PublishDesired();
    }
    return SoundResult::Success();
}

std::optional<uint32_t> PulseSoundDevice::EndedNaturally() {
    Impl& d = *m_impl;
    std::lock_guard<std::mutex> caller(d.CallerMutex);
    d.CheckNaturalEnd();
    if (!d.IsOpen || !d.Ended) return std::nullopt;
    const int64_t agoMs = std::max<int64_t>(NowUs() - d.EndedAtUs, 0) / 1000;
    return static_cast<uint32_t>(std::min<int64_t>(agoMs, UINT32_MAX));
}

bool PulseSoundDevice::AudioTest() {
    return PulseAudioTest(kAudioTestBound);
}

std::optional<uint16_t> PulseSoundDevice::GetWaveVolume() {
    Impl& d = *m_impl;
    bool connected = false;
    if (d.Loop) {
        pa_threaded_mainloop_lock(d.Loop);
        connected = d.Context && pa_context_get_state(d.Context) == PA_CONTEXT_READY;
        pa_threaded_mainloop_unlock(d.Loop);
    }
    if (!connected && !AudioTest()) return std::nullopt;
    return static_cast<uint16_t>(d.Volume.load(std::memory_order_relaxed) & 0xFFFFu);
}

void PulseSoundDevice::SetWaveVolume(uint16_t volume) {
    m_impl->Volume.store(static_cast<uint32_t>(volume) | (static_cast<uint32_t>(volume) << 16),
                         std::memory_order_relaxed);
}

// ---- the audio test, on a private main loop in the calling thread ----

bool PulseAudioTest(std::chrono::milliseconds bound) {
    pa_mainloop* loop = pa_mainloop_new();
    if (!loop) return false;
    const int64_t deadline =
        NowUs() + std::chrono::duration_cast<std::chrono::microseconds>(bound).count();
    // Runs the loop until done() or the deadline; false at the deadline.
    auto runUntil = [&](auto done) {
        while (!done()) {
            const int64_t left = deadline - NowUs();
            if (left <= 0) return false;
            if (pa_mainloop_prepare(loop, static_cast<int>(std::min<int64_t>(left, 100000))) < 0 ||
                pa_mainloop_poll(loop) < 0 || pa_mainloop_dispatch(loop) < 0) {
                return false;
            }
        }
        return true;
    };

    bool ok = false;
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "Lumavox audio test");
    if (context && pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0) {
        const bool settled = runUntil([&] {
            const pa_context_state_t s = pa_context_get_state(context);
            return s == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(s);
        });
        if (settled && pa_context_get_state(context) == PA_CONTEXT_READY) {
            pa_sample_spec format{};
            format.format = PA_SAMPLE_S16LE;
            format.rate = 44100;
            format.channels = 2;
            pa_stream* stream = pa_stream_new(context, "Lumavox audio test", &format, nullptr);
            if (stream &&
                pa_stream_connect_playback(stream, nullptr, nullptr, PA_STREAM_START_CORKED,
                                           nullptr, nullptr) >= 0) {
                runUntil([&] {
                    const pa_stream_state_t s = pa_stream_get_state(stream);
                    return s == PA_STREAM_READY || !PA_STREAM_IS_GOOD(s);
                });
                ok = pa_stream_get_state(stream) == PA_STREAM_READY;
                pa_stream_disconnect(stream);
            }
            if (stream) pa_stream_unref(stream);
        }
        pa_context_disconnect(context);
    }
    if (context) pa_context_unref(context);
    pa_mainloop_free(loop);
    return ok;
}

}  // namespace lumavox
