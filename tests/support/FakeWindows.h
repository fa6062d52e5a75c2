#pragma once

#include "app/DocumentHost.h"
#include "app/Prompts.h"
#include "document/Editor.h"
#include "paint/ToolChoice.h"
#include "paint/ToolHost.h"
#include "paint/ToolPalette.h"
#include "paint/View.h"
#include "paint/ViewHost.h"

#include <functional>
#include <string>
#include <vector>

namespace krt::test {

// Stands in for the editor's windows: runs what the windows would run on the
// engine (redraws, tool buttons) and records the rest.
struct FakeWindows : DocumentHost, ViewHost, ToolPalette, ToolHost {
    explicit FakeWindows(Editor& e) : editor(e) {}

    Editor& editor;
    std::string title;
    std::string caption;
    int replaced = 0;
    int changesGone = 0; // saved, or dropped at "Save?": the recovery copy may go
    int cancelled = 0;
    int relayouts = 0;
    int viewRedraws = 0;
    int previewRedraws = 0;
    int viewCopies = 0;
    int outlineSteps = 0;
    int moveToolShown = 0;
    std::vector<Tool> toolsSelected;
    ScreenPoint pointer{500, 400};
    std::vector<ScreenPoint> pointerMoves;
    std::function<void()> onTextDialog;
    std::function<void()> onCancelStroke;

    // DocumentHost
    void SetTitle(const std::string& t) override { title = t; }
    void DocumentReplaced() override
    {
        ++replaced;
        RedrawView();
    }
    void UnsavedChangesGone() override { ++changesGone; }
    void CancelStroke() override
    {
        ++cancelled;
        if (onCancelStroke)
            onCancelStroke();
    }

    // ToolHost
    void RedrawView() override
    {
        ++viewRedraws;
        krt::RedrawView(editor);
    }
    void RedrawPreview() override
    {
        ++previewRedraws;
        krt::RedrawPreview(editor);
    }
    void UpdatePreview(double x, double y, double w, double h) override { UpdatePreviewRect(editor, x, y, w, h); }
    void RelayoutPreview(bool outline) override
    {
        ++relayouts;
        if (outline)
            BuildPreviewOutline(editor);
    }
    void ShowViewCopy(const TFastBMP&) override { ++viewCopies; }
    void ShowPreviewCopy(const TFastBMP&) override {}
    void RefreshColorPanels() override {}
    void SetViewCaption(const std::string& c) override { caption = c; }
    ScreenPoint PointerPosition() override { return pointer; }
    void MovePointer(ScreenPoint p) override
    {
        pointer = p;
        pointerMoves.push_back(p);
    }
    void OpenTextDialog() override
    {
        if (onTextDialog)
            onTextDialog();
    }
    void OutlineStep() override { ++outlineSteps; }
    void SelectTool(Tool tool) override
    {
        toolsSelected.push_back(tool);
        ChooseTool(editor, tool);
    }
    void ShowMoveTool() override { ++moveToolShown; }
};

} // namespace krt::test
