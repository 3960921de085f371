#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "engine/PlayDisplay.h"
#include "engine/PostRequest.h"

namespace lumavox {
namespace {

using Commands = std::vector<std::string>;

class EngineTick : public EngineFixture {};

TEST_F(EngineTick, OpenRequestClosesTheOpenSoundFirstAndReadsTheLength) {
    OpenSound(30000);
    EXPECT_TRUE(state.SoundOpen);
    EXPECT_TRUE(state.AudioAvailable);
    EXPECT_EQ(state.SoundLength, 30000);
    EXPECT_EQ(state.TimelineLength, 50000);
    EXPECT_FALSE(state.OpenRequest);

    device.AddFile("/music/other.mp3", 12345);
    device.ClearCalls();
    state.SoundPath.Set("/music/other.mp3");
    state.OpenRequest = true;
    Tick();
    EXPECT_EQ(device.Commands(), (Commands{"close", "audio test", "open /music/other.mp3"}));
    EXPECT_EQ(state.SoundLength, 12345);
    EXPECT_EQ(state.TimelineLength, 32345);
    EXPECT_TRUE(warnings.empty());
}

TEST_F(EngineTick, OpenRequestOpensALongPathWhole) {
    // Deep folders with Japanese names pass 255 bytes easily (3 bytes a character in UTF-8).
    std::string path = "/home/user";
    for (int i = 0; i < 12; ++i) path += "/ライトショー音源フォルダ";
    path += "/曲.wav";
    ASSERT_GT(path.size(), 400u);
    device.AddFile(path, 4000);
    state.SoundPath.Set(path);
    state.OpenRequest = true;
    Tick();
    EXPECT_EQ(device.Commands(), (Commands{"audio test", "open " + path}));
    EXPECT_TRUE(state.SoundOpen);
    EXPECT_EQ(state.SoundLength, 4000);
}

TEST_F(EngineTick, FailedOpenLeavesTheSoundClosedWithoutAMessageButKeepsTheReason) {
    OpenSound(30000);
    EXPECT_TRUE(state.SoundOpenError.Empty());
    state.SoundPath.Set("/music/missing.wav");
    state.OpenRequest = true;
    Tick();
    EXPECT_FALSE(state.SoundOpen);
    EXPECT_FALSE(state.OpenRequest);
    EXPECT_EQ(state.SoundLength, 30000);  // nothing else changes
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(state.SoundOpenError.Get(), "cannot open the file");  // the device's own text
    OpenSound(1000);
    EXPECT_TRUE(state.SoundOpenError.Empty());
}

TEST_F(EngineTick, LengthQueryFailureGivesLengthZero) {
    device.FailLengthQuery(true);
    OpenSound(30000);
    EXPECT_TRUE(state.SoundOpen);
    EXPECT_EQ(state.SoundLength, 0);
    EXPECT_EQ(state.TimelineLength, 20000);
}

TEST_F(EngineTick, CloseRequestClosesAndMarksAudioUnavailable) {
    OpenSound(30000);
    device.ClearCalls();
    state.CloseRequest = true;
    Tick();
    Tick();
    EXPECT_EQ(device.Commands(), (Commands{"close"}));
    EXPECT_FALSE(state.SoundOpen);
    EXPECT_FALSE(state.AudioAvailable);
    EXPECT_FALSE(state.CloseRequest);
    EXPECT_EQ(state.SoundMode.Get(), "");
}

TEST_F(EngineTick, CloseRequestForgetsTheClosedSoundsLength) {
    OpenSound(30000);
    ASSERT_EQ(state.TimelineLength, 50000);
    state.PrePlayTime = 3000;
    state.CloseRequest = true;
    Tick();
    EXPECT_EQ(state.SoundLength, 0);
    EXPECT_EQ(state.TimelineLength, 13000);

    // the UI's recompute after a settings change saturates instead of wrapping
    state.PrePlayTime = INT32_MAX;
    RecomputeTimelineLength(state);
    EXPECT_EQ(state.TimelineLength, INT32_MAX);
}

TEST_F(EngineTick, PlayFromStartRunsThePreRollAndHandsOverToTheSoundAtZero) {
    OpenSound(30000);
    Command([&] { transport.PlayFromStart(); });
    EXPECT_EQ(state.CursorTime, -10000);
    EXPECT_EQ(FormatTimeLabel(state.CursorTime, state.SoundLength).Text, "-00:00:10.00");
    EXPECT_TRUE(state.TransportActive);
    device.ClearCalls();

    Periods(499);  // 9980 ms
    EXPECT_EQ(state.CursorTime, -20);
    EXPECT_TRUE(device.Commands().empty());
    Period();  // the free clock reaches 0
    EXPECT_EQ(state.CursorTime, 0);
    EXPECT_FALSE(state.FreeClockRunning);
    EXPECT_EQ(device.Commands(), (Commands{"play from 0"}));
    const TimeLabel atZero = FormatTimeLabel(state.CursorTime, state.SoundLength);
    EXPECT_EQ(atZero.Text, " 00:00:00.00");
    EXPECT_EQ(atZero.FontColour, kSoundTimeColour);

    Periods(50);
    EXPECT_EQ(state.SoundMode.Get(), "playing");
    EXPECT_EQ(state.CursorTime, 1000);
}

TEST_F(EngineTick, PreRollHandOverWhenTheFreeClockOvershootsZero) {
    OpenSound(30000);
    state.PrePlayTime = 30;
    Command([&] { transport.PlayFromStart(); });
    Period(50);  // one late period: -30 + 50 = +20, still handed over at exactly 0
    EXPECT_EQ(state.CursorTime, 0);
    EXPECT_EQ(device.Mode(), SoundDeviceMode::Playing);
    EXPECT_EQ(device.Position(), 0);
}

TEST_F(EngineTick, PlayFromStartWithoutPreRollStartsTheSoundAtOnce) {
    OpenSound(30000);
    state.PrePlayTime = 0;
    state.CursorTime = 5000;
    device.ClearCalls();
    transport.PlayFromStart();  // sets a request without waiting
    Tick();
    EXPECT_EQ(device.Commands(), (Commands{"play from 0"}));
    Period();
    EXPECT_EQ(state.CursorTime, 20);
}

TEST_F(EngineTick, PauseInThePreRollHoldsTheTimeAndContinuesFromIt) {
    OpenSound(30000);
    Command([&] { transport.PlayFromStart(); });
    Periods(100);
    EXPECT_EQ(state.CursorTime, -8000);
    device.ClearCalls();
    transport.PauseResume();
    Periods(100);  // two seconds pass while held
    EXPECT_EQ(state.CursorTime, -8000);
    transport.PauseResume();
    Periods(1);
    EXPECT_EQ(state.CursorTime, -7980);
    EXPECT_TRUE(device.Commands().empty());  // nothing sent to the device
}

TEST_F(EngineTick, PauseAndResumeOfThePlayingSoundGoThroughTheDevice) {
    OpenSound(30000);
    StartPlayingAtZero();
    Periods(10);
    device.ClearCalls();
    transport.PauseResume();
    Period();
    EXPECT_EQ(device.Commands(), (Commands{"pause"}));
    Periods(5);
    EXPECT_EQ(state.SoundMode.Get(), "paused");
    EXPECT_EQ(state.CursorTime, 220);  // frozen
    transport.PauseResume();
    Period();
    Periods(5);
    EXPECT_EQ(state.SoundMode.Get(), "playing");
    EXPECT_EQ(state.CursorTime, 320);
}

TEST_F(EngineTick, PauseRequestIsDroppedWhenTheSoundIsNotPlaying) {
    OpenSound(30000);
    device.ClearCalls();
    state.PauseRequest = true;
    state.ResumeRequest = true;
    Tick();
    Tick();
    EXPECT_TRUE(device.Commands().empty());
    EXPECT_FALSE(state.PauseRequest);
    EXPECT_FALSE(state.ResumeRequest);
}

// Plays the 1 s sound from 0 and lets it run to its natural end, where the device holds the
// length while still "playing" and then stops.
class NaturalEnd : public EngineFixture {
protected:
    void PlayToTheEnd() {
        OpenSound(1000);
        transport.Locate(0);
        transport.Play();
        Tick();
        Periods(50);  // exactly at the length, still "playing"
        ASSERT_EQ(state.CursorTime, 1000);
        ASSERT_EQ(state.SoundMode.Get(), "playing");
    }
    void EndHoldExpires() {
        device.FinishNaturalEnd();
        Period();
    }
};

TEST_F(NaturalEnd, StartsThePostRollOnTheFreeClockAndStopsAtItsEnd) {
    PlayToTheEnd();
    EndHoldExpires();
    EXPECT_TRUE(state.FreeClockRunning);
    EXPECT_EQ(state.CursorTime, 1000);
    Period();
    EXPECT_EQ(state.CursorTime, 1020);
    const TimeLabel post = FormatTimeLabel(state.CursorTime, state.SoundLength);
    EXPECT_EQ(post.Text, "+00:00:01.02");  // absolute time, not time since the end
    EXPECT_EQ(post.FontColour, kPostRollTimeColour);
    Periods(498);
    EXPECT_EQ(state.CursorTime, 10980);
    EXPECT_TRUE(state.FreeClockRunning);
    Period();
    EXPECT_EQ(state.CursorTime, 11000);
    EXPECT_FALSE(state.FreeClockRunning);
    Periods(10);
    EXPECT_EQ(state.CursorTime, 11000);
}

TEST_F(NaturalEnd, WithoutPostPlayTimeStaysExactlyAtTheSoundLength) {
    state.PostPlayTime = 0;
    PlayToTheEnd();
    EndHoldExpires();
    Periods(10);
    EXPECT_FALSE(state.FreeClockRunning);
    EXPECT_EQ(state.CursorTime, 1000);
}

TEST_F(NaturalEnd, RepeatRestartsAtZeroNotAtThePreRoll) {
    repeat = true;
    PlayToTheEnd();
    device.ClearCalls();
    EndHoldExpires();
    EXPECT_EQ(state.CursorTime, 0);
    EXPECT_TRUE(state.RepeatRestarted);
    EXPECT_FALSE(state.FreeClockRunning);
    EXPECT_TRUE(device.Commands().empty());  // carried out by the next tick
    Period();
    EXPECT_EQ(device.Commands(), (Commands{"play from 0"}));
    EXPECT_TRUE(TakeRepeatRestarted(state));
    EXPECT_FALSE(TakeRepeatRestarted(state));
    Periods(10);
    EXPECT_EQ(state.CursorTime, 200);
}

TEST_F(NaturalEnd, StopBeforeTheEndNeverStartsThePostRoll) {
    OpenSound(1000);
    StartPlayingAtZero();
    Periods(30);
    Command([&] { transport.Stop(); });
    Periods(20);
    EXPECT_FALSE(state.FreeClockRunning);
    EXPECT_EQ(state.CursorTime, 600);  // stop leaves the time where it was
    EXPECT_FALSE(state.TransportActive);
}

TEST_F(NaturalEnd, StopWhileTheDeviceHoldsTheEndDoesNotStartThePostRoll) {
    PlayToTheEnd();
    Command([&] { transport.Stop(); });
    Periods(20);
    EXPECT_FALSE(state.FreeClockRunning);
    EXPECT_EQ(state.CursorTime, 1000);
}

TEST_F(NaturalEnd, StopPostedInTheEndPeriodIsNotUndoneByThePostRoll) {
    PlayToTheEnd();
    device.FinishNaturalEnd();
    // The UI's stop lands between two ticks: its flags are set, the tick has not run yet.
    state.FreeClockRunning = false;
    state.StopRequest = true;
    Period();
    EXPECT_FALSE(state.FreeClockRunning);
    Periods(20);
    EXPECT_FALSE(state.FreeClockRunning);
    EXPECT_EQ(state.CursorTime, 1000);
}

TEST_F(NaturalEnd, StopAfterThePostRollStartedEndsIt) {
    PlayToTheEnd();
    EndHoldExpires();
    ASSERT_TRUE(state.FreeClockRunning);
    Command([&] { transport.Stop(); });
    const int32_t stoppedAt = state.CursorTime;
    Periods(20);
    EXPECT_FALSE(state.FreeClockRunning);
    EXPECT_EQ(state.CursorTime, stoppedAt);
}

TEST_F(NaturalEnd, PauseInThePostRollHoldsTheFreeClock) {
    PlayToTheEnd();
    EndHoldExpires();
    Periods(10);
    transport.PauseResume();
    Periods(100);
    EXPECT_EQ(state.CursorTime, 1200);
    transport.PauseResume();
    Periods(1);
    EXPECT_EQ(state.CursorTime, 1220);
}

TEST_F(NaturalEnd, ALateTickStillSeesTheEndAndRunsThePostRoll) {
    OpenSound(1000);
    StartPlayingAtZero();
    Periods(48);
    ASSERT_EQ(state.CursorTime, 960);
    device.FinishNaturalEnd(160);
    Period(200);  // the end passed 160 ms ago, while the output was held up
    EXPECT_TRUE(state.FreeClockRunning);
    EXPECT_EQ(state.CursorTime, 1000);
    Period();
    EXPECT_EQ(state.CursorTime, 1180);  // the post-roll runs from the real end
}

TEST_F(NaturalEnd, RepeatSurvivesAPauseAndResumeJustBeforeTheEnd) {
    repeat = true;
    OpenSound(1000);
    StartPlayingAtZero();
    Periods(49);
    transport.PauseResume();
    Periods(2);
    ASSERT_EQ(state.SoundMode.Get(), "paused");
    transport.PauseResume();
    Tick();  // resumes; the last 20 ms play out before the next tick looks
    device.Advance(20);
    device.FinishNaturalEnd();
    device.ClearCalls();
    Period();
    EXPECT_TRUE(state.RepeatRestarted);
    EXPECT_EQ(state.CursorTime, 0);
    Period();
    EXPECT_EQ(device.Commands(), (Commands{"play from 0"}));
}

TEST_F(NaturalEnd, PlayFromStartInTheEndTickPlaysTheSoundWithoutThePostRoll) {
    PlayToTheEnd();
    state.PrePlayTime = 0;
    device.FinishNaturalEnd();
    transport.PlayFromStart();  // lands between the end and the tick that sees it
    Period();
    EXPECT_FALSE(state.FreeClockRunning);
    Periods(10);
    EXPECT_FALSE(state.FreeClockRunning);
    EXPECT_EQ(device.Mode(), SoundDeviceMode::Playing);
    EXPECT_EQ(state.CursorTime, 200);
}

TEST_F(EngineTick, LocateArrivingWhileTheTickSeeksIsCarriedOutByTheNextTick) {
    OpenSound(30000);
    transport.Locate(5000);
    device.DuringNextSeek([&] { transport.Locate(7000); });  // the user drags on
    Tick();
    Tick();
    EXPECT_EQ(device.Position(), 7000);
    EXPECT_EQ(state.CursorTime, 7000);
    EXPECT_EQ(state.SoundPosition, 7000);
}

TEST_F(EngineTick, OpeningASoundMovesAnIdleCursorInsideItToItsStart) {
    OpenSound(30000);
    transport.Locate(12000);
    Tick();
    ASSERT_EQ(device.Position(), 12000);
    device.AddFile("/music/other.wav", 20000);
    state.SoundPath.Set("/music/other.wav");
    state.OpenRequest = true;
    Tick();
    EXPECT_EQ(state.CursorTime, 0);  // where the device now stands

    // A locate posted together with the open is carried out, not undone.
    state.CursorTime = 3000;
    state.SeekRequest = true;
    state.OpenRequest = true;
    Tick();
    EXPECT_EQ(device.Position(), 3000);
    EXPECT_EQ(state.CursorTime, 3000);
}

TEST_F(EngineTick, AStopCarriedOutLateLeavesAPreRollStartedAfterItRunning) {
    OpenSound(30000);
    Transport impatient(state, clock, repeat, std::chrono::milliseconds(1));
    impatient.PlayFromStart();  // no tick takes the stop in time (a long open, say)
    ASSERT_TRUE(state.StopRequest);
    Periods(5);
    EXPECT_FALSE(state.StopRequest);
    EXPECT_TRUE(state.FreeClockRunning);
    EXPECT_EQ(state.CursorTime, -9900);
}

TEST_F(EngineTick, AStopTakesBackAPlayNoTickHasCarriedOut) {
    OpenSound(30000);
    Command([&] { transport.Locate(29950); });
    Period();
    Transport impatient(state, clock, repeat, std::chrono::milliseconds(1));
    device.ClearCalls();
    impatient.Play();
    impatient.Stop();  // the play and the stop come within one period
    Periods(5);
    EXPECT_EQ(device.Commands(), std::vector<std::string>{"stop"});
    EXPECT_EQ(state.SoundMode.Get(), "stopped");
    EXPECT_FALSE(state.FreeClockRunning);
}

TEST_F(EngineTick, WithoutAudioDeviceTheOpenWarnsAndTheShowRunsOnTheFreeClock) {
    device.SetAudioPresent(false);
    OpenSound(2000);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].first, "オーディオ出力デバイスが無効です");
    EXPECT_EQ(warnings[0].second, "警告");
    EXPECT_FALSE(state.AudioAvailable);
    EXPECT_EQ(state.SoundLength, 2000);  // the file itself opened

    device.ClearCalls();
    state.PrePlayTime = 1000;
    Command([&] { transport.PlayFromStart(); });
    Periods(25);
    EXPECT_EQ(state.CursorTime, -500);
    Periods(25);
    EXPECT_EQ(state.CursorTime, 0);
    Periods(25);
    EXPECT_EQ(state.CursorTime, 0);  // held at 0 inside the sound
    EXPECT_EQ(state.SoundMode.Get(), "");
    EXPECT_EQ(state.SoundPosition, 0);
    EXPECT_TRUE(device.Commands().empty());  // no sound command at all

    // The post-roll still runs from a position beyond the sound end.
    Command([&] { transport.Stop(); });
    Command([&] { transport.Locate(2500); });
    Command([&] { transport.Play(); });
    Periods(10);
    EXPECT_EQ(state.CursorTime, 2700);
    Periods(1000);
    EXPECT_EQ(state.CursorTime, 12000);
    EXPECT_FALSE(state.FreeClockRunning);
    EXPECT_TRUE(device.Commands().empty());
}

TEST_F(EngineTick, ModeQueryFailureShowsTheErrorAndSendsNoPositionQueryOrPause) {
    OpenSound(30000);
    StartPlayingAtZero();
    Periods(5);
    device.FailModeQuery(true);
    device.ClearCalls();
    state.PauseRequest = true;
    Period();
    EXPECT_EQ(state.SoundMode.Get(), "ERROR:mode query failed");
    EXPECT_EQ(device.Calls(), (Commands{"mode"}));
    EXPECT_FALSE(state.PauseRequest);
    EXPECT_EQ(state.CursorTime, 100);  // held while the device cannot be read
    device.FailModeQuery(false);
    Period();
    EXPECT_EQ(state.SoundMode.Get(), "playing");
    EXPECT_EQ(state.CursorTime, 140);
}

TEST_F(EngineTick, PositionQueryFailureKeepsThePreviousPosition) {
    OpenSound(30000);
    StartPlayingAtZero();
    Periods(5);
    device.FailPositionQuery(true);
    Periods(5);
    EXPECT_EQ(state.SoundPosition, 100);
    EXPECT_EQ(state.CursorTime, 100);
    device.FailPositionQuery(false);
    Period();
    EXPECT_EQ(state.CursorTime, 220);
}

TEST_F(EngineTick, SeekRequestMovesTheDeviceOnlyWhenThePositionDiffers) {
    OpenSound(30000);
    state.CursorTime = 0;
    device.ClearCalls();
    state.SeekRequest = true;
    Tick();
    EXPECT_TRUE(device.Commands().empty());
    state.CursorTime = 4000;
    state.SeekRequest = true;
    Tick();
    EXPECT_EQ(device.Commands(), (Commands{"seek 4000"}));
    EXPECT_EQ(state.SoundPosition, 4000);
    EXPECT_FALSE(state.SeekRequest);
}

TEST_F(EngineTick, LocateWhenIdleSeeksInsideTheSoundAndMovesTheFreeClockOutside) {
    OpenSound(30000);
    transport.Locate(12000);
    EXPECT_TRUE(state.SeekRequest);
    Tick();
    EXPECT_EQ(device.Position(), 12000);
    EXPECT_EQ(state.CursorTime, 12000);

    device.ClearCalls();
    transport.Locate(-3000);
    EXPECT_FALSE(state.SeekRequest);
    EXPECT_EQ(state.FreeClockTime, -3000);
    Periods(3);
    EXPECT_EQ(state.CursorTime, -3000);  // left alone outside the sound
    EXPECT_TRUE(device.Commands().empty());
}

TEST_F(EngineTick, LocateWhilePlayingStopsSeeksAndPlaysOnFromTheTarget) {
    OpenSound(30000);
    StartPlayingAtZero();
    Periods(10);
    device.ClearCalls();
    int programmaticChange = 0;
    Command([&] { transport.Locate(20000, &programmaticChange); });
    EXPECT_EQ(programmaticChange, 0);
    const Commands commands = device.Commands();
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0], "stop");
    EXPECT_EQ(commands[1], "seek 20000");
    EXPECT_EQ(commands[2], "play");
    EXPECT_EQ(state.CursorTime, 20000);
    Periods(5);
    EXPECT_EQ(state.CursorTime, 20100);
}

TEST_F(EngineTick, LocateWhilePlayingIntoThePostRollRunsTheFreeClock) {
    OpenSound(30000);
    StartPlayingAtZero();
    Periods(10);
    Command([&] { transport.Locate(31000); });
    EXPECT_TRUE(state.FreeClockRunning);
    EXPECT_EQ(device.Mode(), SoundDeviceMode::Stopped);
    Periods(5);
    EXPECT_EQ(state.CursorTime, 31100);
}

TEST_F(EngineTick, ToTheSoundStartAfterPlayingThenPlayPlaysFromZero) {
    OpenSound(60000);
    StartPlayingAtZero();
    Periods(1500);
    ASSERT_EQ(state.CursorTime, 30000);
    Command([&] { transport.Stop(); });
    Command([&] { transport.ToSoundStart(); });
    EXPECT_EQ(state.CursorTime, 0);
    EXPECT_EQ(device.Position(), 0);
    transport.Play();  // inside the sound: a request without waiting
    Tick();
    Periods(5);
    EXPECT_EQ(device.Mode(), SoundDeviceMode::Playing);
    EXPECT_EQ(state.CursorTime, 100);
}

TEST_F(EngineTick, ToTheSoundEndSeeksToTheLength) {
    OpenSound(60000);
    Command([&] { transport.ToSoundEnd(); });
    EXPECT_EQ(state.CursorTime, 60000);
    EXPECT_EQ(device.Position(), 60000);
}

TEST_F(EngineTick, ToTheSoundStartWithoutLoadedSoundOnlyResetsTheTimes) {
    state.CursorTime = 777;
    state.SoundPosition = 777;
    transport.ToSoundStart();
    EXPECT_EQ(state.CursorTime, 0);
    EXPECT_EQ(state.SoundPosition, 0);
    EXPECT_FALSE(state.StopRequest);
}

TEST_F(EngineTick, PlayBeyondTheSoundEndRunsTheFreeClockToThePostRollEnd) {
    OpenSound(5000);
    state.PostPlayTime = 1000;
    transport.Locate(5500);
    Command([&] { transport.Play(); });
    EXPECT_TRUE(state.FreeClockRunning);
    Periods(10);
    EXPECT_EQ(state.CursorTime, 5700);
    EXPECT_EQ(FormatTimeLabel(state.CursorTime, state.SoundLength).Text, "+00:00:05.70");
    Periods(100);
    EXPECT_EQ(state.CursorTime, 6000);
    EXPECT_FALSE(state.FreeClockRunning);
}

TEST_F(EngineTick, FreeClockSurvivesTheMillisecondCounterWrapping) {
    OpenSound(30000);
    clock.Set(0xFFFFFFFFu - 30);
    Command([&] { transport.PlayFromStart(); });
    Periods(5);
    EXPECT_EQ(state.CursorTime, -9900);
}

TEST_F(EngineTick, PreviewColourReplacesTheCurrentLineEvenWithoutSteps) {
    OpenSound(30000);
    Step red;
    red.LineIndex = 1;
    red.Colour = MakeColour(200, 0, 0);
    project.Lines[1].Add(red);
    project.CurrentLine = 2;
    state.PreviewColour = MakeColour(1, 2, 3);
    state.CursorTime = 100;
    Tick();
    EXPECT_EQ(output.Get(2), MakeColour(1, 2, 3));
    EXPECT_EQ(output.Get(1), MakeColour(200, 0, 0));
    EXPECT_EQ(output.Get(0), 0);  // no colour outputs black
    EXPECT_EQ(frame[3], 200);     // through patch: line 1 red is channel 4
    EXPECT_EQ(frame[6], 1);
    EXPECT_EQ(frame[7], 2);
    EXPECT_EQ(frame[8], 3);
    state.PreviewColour = NoColour;
    Tick();
    EXPECT_EQ(output.Get(2), 0);
}

TEST_F(EngineTick, FrameAppliesBrightnessAndThePatchCheck) {
    Step s;
    s.LineIndex = 0;
    s.Colour = MakeColour(100, 100, 100);
    s.Brightness = -255;
    project.Lines[0].Add(s);
    state.CursorTime = 0;
    patchCheck = 3;
    Tick();
    EXPECT_EQ(output.Get(0), 0);
    EXPECT_EQ(frame[9], 255);
    EXPECT_EQ(frame[10], 255);
    EXPECT_EQ(frame[11], 255);
    EXPECT_EQ(frame[0], 0);
}

TEST_F(EngineTick, LocateDuringTheSameTickIsNotOverwrittenByTheDevicePosition) {
    OpenSound(30000);
    StartPlayingAtZero();
    Periods(10);
    transport.PauseResume();
    Periods(2);
    ASSERT_EQ(state.SoundMode.Get(), "paused");
    // Locate while paused: CursorTime and the seek request come from the UI between two ticks.
    transport.Locate(9000);
    Tick();
    EXPECT_EQ(state.CursorTime, 9000);
    EXPECT_EQ(device.Position(), 9000);
}

TEST_F(EngineTick, LocateOutsideThePausedSoundGivesUpThePause) {
    OpenSound(30000);
    StartPlayingAtZero();
    Periods(10);
    transport.PauseResume();
    Periods(2);
    ASSERT_EQ(state.SoundMode.Get(), "paused");
    transport.Locate(-3000);
    Tick();
    Tick();  // the mode the stop left is read by the next tick
    EXPECT_EQ(state.CursorTime, -3000);
    // A resume would play the sound on from 200 ms while the position stays in the pre-roll.
    EXPECT_FALSE(transport.CanPauseResume());
    transport.PauseResume();
    Periods(5);
    EXPECT_NE(device.Mode(), SoundDeviceMode::Playing);
    EXPECT_EQ(state.CursorTime, -3000);
    Command([&] { transport.Play(); });  // plays on from the located time
    Periods(5);
    EXPECT_EQ(state.CursorTime, -2900);

    transport.PauseResume();  // hold the free clock: still not playing the sound
    Command([&] { transport.Stop(); });
    Command([&] { transport.Locate(1000); });
    transport.Play();
    Tick();
    Periods(2);
    transport.PauseResume();
    Periods(2);
    ASSERT_EQ(state.SoundMode.Get(), "paused");
    transport.Locate(31000);  // into the post-roll
    Tick();
    Tick();
    EXPECT_FALSE(transport.CanPauseResume());
    EXPECT_EQ(state.CursorTime, 31000);
}

TEST_F(EngineTick, CommandsAreEnabledByTheTransportState) {
    EXPECT_FALSE(transport.CanPlayFromStart(true));  // no audio output yet
    OpenSound(30000);
    EXPECT_TRUE(transport.CanPlayFromStart(true));
    EXPECT_FALSE(transport.CanPlayFromStart(false));  // no waveform
    EXPECT_TRUE(transport.CanGoToSoundStartOrEnd(true));
    EXPECT_FALSE(transport.CanStop());
    EXPECT_FALSE(transport.CanPauseResume());

    Command([&] { transport.PlayFromStart(); });
    Tick();
    EXPECT_TRUE(transport.CanStop());
    EXPECT_TRUE(transport.CanPauseResume());  // the free clock runs
    EXPECT_FALSE(transport.CanPlay(true));
    EXPECT_FALSE(transport.CanGoToSoundStartOrEnd(true));
    transport.PauseResume();
    EXPECT_TRUE(transport.CanPlay(true));  // a held free clock may be played on

    Command([&] { transport.Stop(); });
    EXPECT_FALSE(transport.CanStop());  // disabled again until the next play command
    EXPECT_TRUE(transport.CanGoToSoundStartOrEnd(true));
}

TEST(PostRequest, ReturnsAsSoonAsTheTickClearsTheFlag) {
    EngineState state;
    std::atomic<bool> started{false};
    std::thread tick([&] {
        while (!state.StopRequest.load()) std::this_thread::yield();
        started = true;
        state.StopRequest.store(false);
        state.RequestCleared.Notify();
    });
    const auto before = std::chrono::steady_clock::now();
    PostRequest(state, state.StopRequest, std::chrono::seconds(30));
    const auto waited = std::chrono::steady_clock::now() - before;
    tick.join();
    EXPECT_TRUE(started);
    EXPECT_LT(waited, std::chrono::seconds(29));
    EXPECT_FALSE(state.StopRequest);
}

TEST(PostRequest, GivesUpAfterTheBoundWhenNoTickRuns) {
    EngineState state;
    PostRequest(state, state.SeekRequest, std::chrono::milliseconds(30));
    EXPECT_TRUE(state.SeekRequest);  // still posted; a later tick carries it out
}

}  // namespace
}  // namespace lumavox
