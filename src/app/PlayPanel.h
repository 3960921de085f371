#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <functional>

#include "engine/PlayDisplay.h"
#include "settings/ActionId.h"

class QAction;
class QLabel;
class QSlider;
class QStatusBar;
class QString;
class QWidget;

namespace lumavox {

struct EditorContext;
class ISoundDevice;
class LineOutputPanel;
class OutputPair;

// The main window's play panel (time label, the player bar's transport buttons, volume slider,
// the current line's output) and the five status bar panels, with what the display tick shows on
// them. The window places the widgets and drives the tick. UI thread only.
class PlayPanel : public QObject {
    Q_OBJECT
public:
    static constexpr int kStatusPanelCount = 5;

    // window: the parent of the widgets' boxes; device: whose wave volume the slider sets.
    PlayPanel(EditorContext& context, ISoundDevice& device, QWidget* window);

    // The panel that stands on the player bar, its buttons showing the bar's actions (actionOf).
    QWidget* CreatePanel(QWidget* parent, const std::function<QAction*(ActionId)>& actionOf);
    // The status panels 0..4 added to bar; the last one takes the rest of the width.
    void CreateStatusPanels(QStatusBar* bar);

    QWidget* Panel() const { return m_panel; }
    QLabel* StatusPanel(int index) const { return m_panels[static_cast<size_t>(index)]; }
    // A panel's text; an index outside 0..4 is ignored.
    void SetStatusText(int panel, const QString& text);
    QLabel* TimeLabelWidget() const { return m_timeLabel; }
    int32_t TimeLabelColour() const { return m_timeColour; }  // 0x00BBGGRR
    QSlider* Volume() const { return m_volume; }
    LineOutputPanel* OutputPanel() const { return m_outputPanel; }

    // The device's volume on the slider and on panel 2 (written even when the slider stays).
    void ShowDeviceVolume();
    // One display tick: the time label, the output and sound state on panel 0 (outputs null when
    // the window runs none), and once per silent spell the box saying the show plays silently.
    void Tick(const OutputPair* outputs);

private:
    void SetTimeLabelColour(int32_t bgr);
    void OnVolumeChanged(int value);

    EditorContext& m_context;
    ISoundDevice& m_device;
    QWidget* m_window;
    QWidget* m_panel = nullptr;
    QLabel* m_timeLabel = nullptr;
    QSlider* m_volume = nullptr;
    LineOutputPanel* m_outputPanel = nullptr;
    std::array<QLabel*, kStatusPanelCount> m_panels{};
    int32_t m_timeColour = -1;
    SilentAudioNotice m_silentNotice;
};

}  // namespace lumavox
