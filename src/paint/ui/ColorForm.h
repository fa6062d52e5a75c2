#pragma once

#include "core/ui/BufferView.h"
#include "document/EditorSettings.h"
#include "paint/ColorPanels.h"
#include "paint/ToolPalette.h"

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <array>

namespace krt {

// The colour chooser: a bar, a marker strip and an edit box for each of R, G
// and B, a grid of 16 colours and a button for the system colour dialog.
class TColorForm : public QWidget {
    Q_OBJECT
public:
    TColorForm(EditorSettings& settings, ToolPalette& palette, QWidget* parent = nullptr);

    // Shows the bars, markers and numbers of the active colour.
    void ShowPanels(const ColorPanelImages& images);
    QLineEdit* ChannelEdit(int channel) const { return edits[static_cast<std::size_t>(channel)]; }
    QWidget* Grid() const { return grid; }
    BufferView* Bar(int channel) const { return bars[static_cast<std::size_t>(channel)]; }

private:
    void SetChannel(int channel, int value);
    void EditsChanged();
    void ChooseFromDialog();

    EditorSettings& settings;
    ToolPalette& palette;
    bool panelsUpdating = false;
    std::array<BufferView*, 3> bars{};
    std::array<QWidget*, 3> markers{};
    std::array<QLineEdit*, 3> edits{};
    QWidget* grid = nullptr;
};

} // namespace krt
