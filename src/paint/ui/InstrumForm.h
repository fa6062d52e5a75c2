#pragma once

#include "core/ui/BufferView.h"
#include "document/Editor.h"
#include "paint/ColorPanels.h"
#include "paint/ToolPalette.h"
#include "paint/ToolTraits.h"
#include "paint/ViewHost.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>
#include <QWidget>

#include <array>
#include <functional>

namespace krt {

// The tool palette: fourteen tools in one radio group, the foreground and
// background swatches, and the three posterisation bars.
class TInstrumForm : public QWidget {
    Q_OBJECT
public:
    TInstrumForm(Editor& editor, ViewHost& windows, ToolPalette& palette, QWidget* parent = nullptr);

    // Presses a tool's button and runs its click handler.
    void PressTool(Tool tool);
    // Shows the move tool as chosen without running its handler (a pasted
    // or placed block already floats).
    void ShowMoveTool();
    QToolButton* ToolButton(Tool tool) const { return toolButtons[static_cast<std::size_t>(ToolNumber(tool) - 1)]; }
    // Shows the swatches of the colour panels.
    void ShowSwatches(const ColorPanelImages& images);
    QScrollBar* PosterizeBar(int channel) const { return bars[static_cast<std::size_t>(channel)]; }

    // Tool cursors are set on the document window by whoever shows it.
    std::function<void(ToolCursor cursor)> onToolCursor;
    // The option groups a tool uses (ToolOptions flags) are enabled by whoever
    // shows the options window.
    std::function<void(unsigned options)> onToolOptions;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildToolButtons();
    void BuildSwatches();
    void BuildPosterizeBars();
    void SelectTool(Tool tool);
    void EnableOptions(unsigned options);
    void SetActive(bool foreground);
    void PosterizeChanged();

    Editor& editor;
    ViewHost& windows;
    ToolPalette& palette;
    QButtonGroup* group = nullptr;
    std::array<QToolButton*, ToolCount> toolButtons{};
    BufferView* foreSwatch = nullptr;
    BufferView* backSwatch = nullptr;
    QFrame* activeFrame = nullptr;
    QFrame* foreFrame = nullptr;
    QFrame* backFrame = nullptr;
    std::array<QScrollBar*, 3> bars{};
};

} // namespace krt
