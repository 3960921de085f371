#include "editor/logic/TimeLine.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <limits>

#include "editor/logic/MainWindowRules.h"
#include "engine/PlayDisplay.h"
#include "model/Msgstr.h"

namespace lumavox {

int TimeLine::MaxL() const {
    return std::max(0, m_r - std::max(0, m_width));
}

int TimeLine::TimeToX(int32_t t) const {
    return TruncToInt((static_cast<double>(t) + m_pre) * m_ppm);
}

int32_t TimeLine::XToTime(int x) const {
    assert(m_ppm > 0);
    const double t = std::trunc(static_cast<double>(x) / m_ppm) - m_pre;
    return TruncToInt(t);
}

double TimeLine::XToFrame(int x) const {
    return (static_cast<double>(x) - m_pre * m_ppm) / m_frameZoom;
}

bool TimeLine::FrameShown(double f) const {
    return f >= 0 && std::trunc(f) < m_frameCount;
}

int TimeLine::RightEnd() const {
    const int64_t right = static_cast<int64_t>(m_l) + std::max(0, m_width);
    return static_cast<int>(std::min<int64_t>(right, TruncToInt(m_timelineLength * m_ppm)));
}

int TimeLine::ClampX(int x) const {
    return std::clamp(x, 0, std::max(0, m_r));
}

int TimeLine::PointerX(int localX, int offset) const {
    return ClampX(TruncToInt(static_cast<double>(localX) + m_l + offset));
}

int TimeLine::Candidate(TStepList::View items, int x, int k) const {
    // Note the two truncations: the step's x is taken without the pre-roll, the pointer's with it
    // subtracted first, so this is not |TimeToX(t) - x|.
    const int64_t px = TruncToInt(static_cast<double>(x) - m_pre * m_ppm);
    int found = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const int64_t sx = TruncToInt(items[i]->Time * m_ppm);
        if (std::abs(sx - px) < kCandidateReach) {
            if (found == k) return static_cast<int>(i);
            ++found;
        }
    }
    return -1;
}

void TimeLine::Layout(const LayoutInput& in) {
    const double oldPpm = m_ppm;
    const int s = TruncToInt((static_cast<double>(in.CursorTime) + in.PrePlayTime) * oldPpm) - m_l;
    m_pre = in.PrePlayTime;
    m_frameCount = std::max(0, in.FrameCount);
    m_timelineLength = in.TimelineLength;
    m_width = in.VisibleWidth;
    m_ppm = m_frameZoom * 100 * 0.001;
    assert(m_ppm > 0);
    m_cursorX = TimeToX(in.CursorTime);
    // Pre- and post-roll count in whole seconds here.
    const double h =
        std::trunc((static_cast<double>(in.PrePlayTime) + in.PostPlayTime) * 0.001) * 100 +
        m_frameCount;
    m_r = std::max(0, TruncToInt(h * m_frameZoom));
    if (h < 1) {
        m_fitZoom = 1.0;
    } else if (in.VisibleWidth > 0) {
        // A zero width (minimised, or mid-layout) would make the fit zoom 0 and ppm 0 after it.
        m_fitZoom = in.VisibleWidth / h;
    }
    const double l = std::trunc(s / m_ppm);
    const int left = TruncToInt((static_cast<double>(in.CursorTime) + in.PrePlayTime - l) * m_ppm);
    m_l = std::clamp(std::max(0, left), 0, MaxL());
}

bool TimeLine::SetL(int l) {
    const int clamped = std::clamp(l, 0, MaxL());
    if (clamped == m_l) return false;
    m_l = clamped;
    return true;
}

void TimeLine::SetVisibleWidth(int width) {
    m_width = width;
    m_l = std::clamp(m_l, 0, MaxL());
}

bool TimeLine::CanZoomIn() const {
    return Loaded() && m_frameZoom < kZoomLevels.back();
}

bool TimeLine::CanZoomOut() const {
    return Loaded() && m_frameZoom > std::min(m_fitZoom, 0.001);
}

bool TimeLine::CanZoomFit() const {
    return Loaded();
}

bool TimeLine::ZoomIn() {
    if (!Loaded()) return false;
    double next = kZoomLevels.back();
    for (double z : kZoomLevels) {
        if (z > m_frameZoom) {
            next = z;
            break;
        }
    }
    m_frameZoom = next;
    return true;
}

bool TimeLine::ZoomOut() {
    if (!Loaded()) return false;
    if (m_frameZoom <= kZoomLevels.front()) {
        m_frameZoom = m_fitZoom;
        return true;
    }
    for (auto it = kZoomLevels.rbegin(); it != kZoomLevels.rend(); ++it) {
        if (*it < m_frameZoom) {
            m_frameZoom = *it;
            break;
        }
    }
    return true;
}

bool TimeLine::ZoomFit() {
    if (!Loaded()) return false;
    m_frameZoom = m_fitZoom;
    return true;
}

TimeLine::CursorMove TimeLine::CursorUpdate(int32_t cursorTime, bool soundPlaying) {
    CursorMove move;
    const int x = TimeToX(cursorTime);
    if (x == m_cursorX) return move;
    move.Moved = true;
    move.OldX = m_cursorX;
    move.NewX = x;
    m_cursorX = x;
    if (soundPlaying && static_cast<int64_t>(m_cursorX) - m_l > m_width) {
        move.Scrolled = SetL(m_l + m_width);
    }
    return move;
}

int TimeLine::SoundStartScroll() const {
    return std::min(MaxL(), static_cast<int>(SoundStartScrollPosition(m_pre, m_ppm)));
}

int TimeLine::SoundEndScroll(int32_t postPlayTime) const {
    return static_cast<int>(std::min<int64_t>(
        MaxL(), SoundEndScrollPosition(m_r, std::max(0, m_width), postPlayTime, m_ppm)));
}

int TimeLine::WheelScroll(bool shift) const {
    return TruncToInt((shift ? 200 : 50) * m_frameZoom);
}

int TimeLine::AnchoredL(int anchorX, int anchorOffset, double oldFrameZoom) const {
    if (!(oldFrameZoom > 0)) return std::clamp(m_l, 0, MaxL());
    const int x = TruncToInt(anchorX * (m_frameZoom / oldFrameZoom));
    return std::clamp(TruncToInt(static_cast<double>(x) - anchorOffset), 0, MaxL());
}

std::string TimeLine::ScaleText() const {
    char buf[32];
    std::snprintf(buf, sizeof buf, "=%6.3f", m_frameZoom);
    return std::string(MsgText(Msg::Scale)) + buf;
}

}  // namespace lumavox
