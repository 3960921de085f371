#pragma once

#include <string_view>

namespace lumavox {

// Where the sound readers send what the user should see: progress texts for the status bar's
// panel 2 and error texts for a warning message box (caption "警告", OK button). The editor shows
// them; the command-line tools print them; tests record them. Called on the thread that called
// the reader, synchronously.
class SoundReporter {
public:
    virtual ~SoundReporter() = default;
    // A progress text ("読み込み中... 42%"); an empty text clears the panel. The editor repaints
    // the status bar at once, since the reader blocks its thread.
    virtual void ShowStatus(std::string_view text) = 0;
    // An error text ("不正なファイルです"); the reader returns only after this call.
    virtual void ShowError(std::string_view text) = 0;
    // The same for a refused file, with the path it looked at (empty when there is none);
    // reporters that name the file themselves keep the default.
    virtual void ShowFileError(std::string_view text, std::string_view path) {
        static_cast<void>(path);
        ShowError(text);
    }
};

}  // namespace lumavox
