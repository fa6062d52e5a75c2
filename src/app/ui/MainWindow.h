#pragma once

#include "app/DocumentHost.h"
#include "app/EditCommands.h"
#include "app/EffectFrame.h"
#include "app/FileCommands.h"
#include "app/LayoutFile.h"
#include "app/PromptsRelay.h"
#include "app/ui/CaptionApplier.h"
#include "app/ui/MainMenu.h"
#include "app/ui/PrintCommand.h"
#include "app/ui/QtClipboard.h"
#include "app/ui/QtPrompts.h"
#include "app/ui/SizeDialogs.h"
#include "document/Editor.h"
#include "paint/ToolEngine.h"
#include "paint/ToolHost.h"
#include "paint/ToolPalette.h"
#include "paint/ViewHost.h"
#include "paint/ui/OutlineDisplay.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>

#include <memory>
#include <vector>

namespace krt {

class TAboutBox;
class TPreviewForm;
class TEditForm;
class TInstrumForm;
class TOptForm;
class TColorForm;
class TAddText;
class DeformationMenu;
class FilterMenu;
class ColorEffectsMenu;
class ScannerWindows;
class RecoveryStore;
class RecoveryWatch;

// The frame of the editor: the multiple-document area with the fixed child
// windows, the main menu (each subsystem binds its own items), the title and
// the timer that animates the selection outline. It also routes what one
// child window asks of another.
class TForm1 : public QMainWindow, public ViewHost, public ToolPalette, public ToolHost, public DocumentHost {
    Q_OBJECT
public:
    explicit TForm1(Editor& editor, QWidget* parent = nullptr);
    ~TForm1() override;

    QMdiArea* MdiArea() const { return mdi; }
    const MainMenu& Menu() const { return menu; }
    TAboutBox* AboutBox() const { return aboutBox; }
    QTimer* Timer1() const { return timer; }
    TPreviewForm* PreviewForm() const { return previewForm; }
    TEditForm* EditForm() const { return editForm; }
    TInstrumForm* InstrumForm() const { return instrumForm; }
    TOptForm* OptForm() const { return optForm; }
    TColorForm* ColorForm() const { return colorForm; }
    TNewImage* NewImage() const { return newImage; }
    TImgResize* ImgResize() const { return imgResize; }
    TAddText* AddText() const { return addText; }
    FileCommands& Files() { return *files; }
    PrintCommand& Printing() { return *printing; }
    ScannerWindows& Scanners() { return *scanners; }
    EffectFrame& Effects() { return *effects; }
    DeformationMenu& Deformations() { return *deformations; }
    FilterMenu& Filters() { return *filters; }
    ColorEffectsMenu& ColorEffects() { return *colorEffects; }
    // Web addresses go to the desktop's browser; tests take them instead.
    std::function<void(const std::string& address)> openAddress;
    EditCommands& Edits() { return *edits; }
    ToolEngine& Tools() { return *tools; }
    // The child window that holds a form.
    QMdiSubWindow* SubWindow(QWidget* form) const;
    // From now on the picture's unsaved changes are kept in `store` as a
    // recovery copy (the editor does; tests that do not ask keep none).
    void KeepRecoveryCopies(RecoveryStore& store);
    RecoveryWatch* Recovery() const { return recovery; }

    // The windows that the caption tables name, by class name.
    CaptionWindows Windows() const;
    // Child windows that show the selection outline join the timer's round.
    void AddOutlineDisplay(OutlineDisplay* display) { outlineDisplays.push_back(display); }
    // Answers the commands' questions with another Prompts (tests).
    void UsePrompts(Prompts& answers) { prompts->Relay(answers); }

    // Start-up after the windows exist: window layout, pencil, colour panels.
    void ApplyWindowLayout(const std::vector<LayoutValue>& layout);
    std::vector<LayoutValue> CurrentWindowLayout() const;
    void FinishStartUp();

    // One tick of the outline timer.
    void Timer1Timer();

    // ViewHost
    void RedrawView() override;
    void RedrawPreview() override;
    void UpdatePreview(double x, double y, double w, double h) override;
    void RelayoutPreview(bool outline) override;
    void ShowViewCopy(const TFastBMP& copy) override;
    void ShowPreviewCopy(const TFastBMP& copy) override;
    void OutlineStep() override { Timer1Timer(); }

    // ToolPalette
    void SelectTool(Tool tool) override;
    void ShowMoveTool() override;
    void RefreshColorPanels() override;

    // ToolHost
    void SetViewCaption(const std::string& caption) override;
    ScreenPoint PointerPosition() override;
    void MovePointer(ScreenPoint point) override;
    void OpenTextDialog() override;

    // DocumentHost
    void SetTitle(const std::string& title) override;
    void DocumentReplaced() override;
    void CancelStroke() override { tools->CancelStroke(); }
    void UnsavedChangesGone() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateChildWindows();
    void ShowTransparency();
    QMdiSubWindow* AddChild(QWidget* form, bool resizable);

    Editor& editor;
    QMdiArea* mdi = nullptr;
    MainMenu menu;
    QTimer* timer = nullptr;
    TAboutBox* aboutBox = nullptr;
    TPreviewForm* previewForm = nullptr;
    TEditForm* editForm = nullptr;
    TInstrumForm* instrumForm = nullptr;
    TOptForm* optForm = nullptr;
    TColorForm* colorForm = nullptr;
    SizeDialogResults sizeResults;
    TNewImage* newImage = nullptr;
    TImgResize* imgResize = nullptr;
    TAddText* addText = nullptr;
    std::unique_ptr<QtPrompts> qtPrompts;
    std::unique_ptr<PromptsRelay> prompts;
    QtClipboard clipboard;
    std::unique_ptr<FileCommands> files;
    std::unique_ptr<PrintCommand> printing;
    std::unique_ptr<EditCommands> edits;
    std::unique_ptr<ToolEngine> tools;
    std::unique_ptr<EffectFrame> effects;
    DeformationMenu* deformations = nullptr;
    FilterMenu* filters = nullptr;
    ColorEffectsMenu* colorEffects = nullptr;
    ScannerWindows* scanners = nullptr;
    RecoveryWatch* recovery = nullptr;
    std::vector<OutlineDisplay*> outlineDisplays;
};

} // namespace krt
