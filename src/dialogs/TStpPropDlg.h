#pragma once

#include <QDialog>
#include <cstdint>

#include "editor/logic/EditorContext.h"

class QFrame;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabBar;

namespace lumavox {

class StepPaletteArea;

// The step colour dialog: pick a colour from the hue palette or the user's picture, or type its
// red, green and blue values. The caller sets the caption and SetColour, runs exec(), and on
// Accepted reads Colour(). One instance for the program's run; it keeps its last tab. While it is
// visible the main window's display timer sends PreviewForOutput() to the current line.
// UI thread only.
class TStpPropDlg : public QDialog {
    Q_OBJECT
    // The working colour, for the display timer (0x00BBGGRR).
    Q_PROPERTY(int previewColour READ PreviewColour NOTIFY previewColourChanged)

public:
    TStpPropDlg(EditorContext& context, QWidget* parent);

    void SetColour(int32_t colour);
    // The chosen colour after OK; unchanged by Cancel or the close box.
    int32_t Colour() const { return m_colour; }
    // The working colour of the preview panel.
    int32_t PreviewColour() const { return m_preview; }
    // PreviewColour() while the dialog is visible, NoColour while it is hidden.
    int32_t PreviewForOutput() const;

    StepPaletteArea* PaletteArea() const { return m_area; }
    QTabBar* Tabs() const { return m_tabs; }
    QLineEdit* RedEdit() const { return m_edits[0]; }
    QLineEdit* GreenEdit() const { return m_edits[1]; }
    QLineEdit* BlueEdit() const { return m_edits[2]; }
    QFrame* PreviewPanel() const { return m_previewPanel; }
    // Builds the palette area's context menu (the window shows it at the pointer).
    QMenu* BuildContextMenu();
    // Sets the palette side (240, 320 or 400), stores it in the settings record, re-lays out.
    void SetDisplaySize(int side);

    void accept() override;

signals:
    void previewColourChanged(int32_t colour);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ShowColour(int32_t colour);
    void SetPreview(int32_t colour);
    void EditsChanged();
    void RenderPalette();
    void ChooseImage();

    EditorContext& m_context;
    int32_t m_colour = 0;
    int32_t m_preview = 0;
    QFrame* m_paletteFrame;
    StepPaletteArea* m_area;
    QTabBar* m_tabs;
    QFrame* m_previewPanel;
    QLineEdit* m_edits[3];
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

}  // namespace lumavox
