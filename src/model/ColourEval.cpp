#include "model/ColourEval.h"

#include <algorithm>

#include "model/ProjectData.h"

namespace lumavox {

namespace {

// Between prev and next: the fade while t < prev.Time + prev.Length, else next's own values (only
// when Length disagrees with the next step, as damaged or hand-made files can have it). The sums
// are taken in 64 bits so no int32 inputs overflow; Length <= 0 never divides.
LineColour Blend(const Step& prev, const Step& next, int32_t t) {
    const int64_t offset = static_cast<int64_t>(t) - prev.Time;
    if (offset < static_cast<int64_t>(prev.Length)) {
        const double x = static_cast<double>(offset) / static_cast<double>(prev.Length);
        auto mix = [x](int32_t p, int32_t n) {
            // p + (n - p) * x lies between p and n, so the truncation stays in int32 range.
            return static_cast<int32_t>(static_cast<double>(p) +
                                        static_cast<double>(static_cast<int64_t>(n) - p) * x);
        };
        LineColour out;
        out.Colour = MakeColour(mix(RedOf(prev.Colour), RedOf(next.Colour)),
                                mix(GreenOf(prev.Colour), GreenOf(next.Colour)),
                                mix(BlueOf(prev.Colour), BlueOf(next.Colour)));
        out.Brightness = mix(prev.Brightness, next.Brightness);
        return out;
    }
    return {next.Colour, next.Brightness};
}

// prevIndex = index of the last step before the first step with Time > t, or -1; nextIndex = that
// step's index, or size when there is none.
LineColour FromIndices(TStepList::View steps, size_t nextIndex, int32_t t) {
    if (nextIndex == 0) return {NoColour, 0};
    const Step& prev = *steps[nextIndex - 1];
    if (nextIndex == steps.size()) return {prev.Colour, prev.Brightness};
    return Blend(prev, *steps[nextIndex], t);
}

}  // namespace

LineColour LineColourAtByWalk(TStepList::View steps, int32_t t) {
    size_t i = 0;
    while (i < steps.size() && steps[i]->Time <= t) ++i;
    return FromIndices(steps, i, t);
}

LineColour LineColourAt(TStepList::View steps, bool sorted, int32_t t) {
    if (!sorted) return LineColourAtByWalk(steps, t);
    const auto it = std::upper_bound(steps.begin(), steps.end(), t,
                                     [](int32_t time, const auto& s) { return time < s->Time; });
    return FromIndices(steps, static_cast<size_t>(it - steps.begin()), t);
}

LineColour LineColourAt(const ProjectData& project, int line, int32_t t) {
    if (line < 0 || line >= kLineCount) return {NoColour, 0};
    return project.Lines[static_cast<size_t>(line)].Read(
        [t](TStepList::View steps, bool sorted) { return LineColourAt(steps, sorted, t); });
}

std::optional<int32_t> NextStepTime(const ProjectData& project, int32_t t) {
    std::optional<int32_t> next;
    for (const auto& line : project.Lines) {
        const std::optional<int32_t> found =
            line.Read([t](TStepList::View steps, bool sorted) -> std::optional<int32_t> {
                if (sorted) {
                    const auto it = std::upper_bound(
                        steps.begin(), steps.end(), t,
                        [](int32_t time, const auto& s) { return time < s->Time; });
                    if (it == steps.end()) return std::nullopt;
                    return (*it)->Time;
                }
                std::optional<int32_t> first;
                for (const auto& s : steps) {
                    if (s->Time > t && (!first || s->Time < *first)) first = s->Time;
                }
                return first;
            });
        if (found && (!next || *found < *next)) next = found;
    }
    return next;
}

int32_t ApplyBrightness(int32_t colour, int32_t brightness) {
    if (colour == NoColour) return 0;
    const int64_t b = brightness;
    auto apply = [b](int32_t c) -> int32_t {
        int64_t v = b >= 0 ? c + (255 - c) * b / 255 : c * (b + 255) / 255;
        // Brightness outside -255..255 (only a damaged file has it) must not leak into other
        // channels: keep every channel within one byte.
        return static_cast<int32_t>(std::clamp<int64_t>(v, 0, 255));
    };
    return MakeColour(apply(RedOf(colour)), apply(GreenOf(colour)), apply(BlueOf(colour)));
}

int32_t LineOutputColourAt(const ProjectData& project, int line, int32_t t) {
    const LineColour lc = LineColourAt(project, line, t);
    return ApplyBrightness(lc.Colour, lc.Brightness);
}

}  // namespace lumavox
