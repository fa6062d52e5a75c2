#pragma once

#include "app/EditCommands.h"
#include "document/Editor.h"
#include "app/FileCommands.h"
#include "app/LayoutFile.h"
#include "app/ui/CaptionApplier.h"
#include "paint/ui/EditorWindows.h"
#include "app/ui/MainMenu.h"
#include "paint/ui/OutlineDisplay.h"
#include "app/ui/QtClipboard.h"
#include "app/ui/QtPrompts.h"
#include "app/ui/SizeDialogs.h"
#include "paint/ColorPanels.h"
#include "paint/ToolEngine.h"
#include "paint/ToolHost.h"

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

// The frame of the editor: the multiple-document area with the fixed child
// windows, the main menu with its command routing, the title and the timer
// that animates the selection outline. It also routes what one child window
// asks of another.
class TForm1 : public QMainWindow, public EditorWindows, public DocumentHost, public ToolHost {
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
    EditCommands& Edits() { return *edits; }
    ToolEngine& Tools() { return *tools; }
    // The child window that holds a form.
    QMdiSubWindow* SubWindow(QWidget* form) const;

    // The windows that the caption tables name, by class name.
    CaptionWindows Windows() const;
    // Child windows that show the selection outline join the timer's round.
    void AddOutlineDisplay(OutlineDisplay* display) { outlineDisplays.push_back(display); }
    // Answers the file commands' questions with another Prompts (tests).
    void UsePrompts(Prompts& prompts);

    // Start-up after the windows exist: window layout, pencil, colour panels.
    void ApplyWindowLayout(const std::vector<LayoutValue>& layout);
    std::vector<LayoutValue> CurrentWindowLayout() const;
    void FinishStartUp();

    // One tick of the outline timer.
    void Timer1Timer();

    // EditorWindows
    void RedrawView() override;
    void RedrawPreview() override;
    void RefreshColorPanels() override;
    void SelectTool(Tool tool) override;
    void EnableOptions(unsigned options) override;
    void RelayoutPreview(bool outline) override;
    bool StartingUp() const override { return startingUp; }

    // ToolHost
    void UpdatePreview(double x, double y, double w, double h) override;
    void ShowViewCopy(const TFastBMP& copy) override;
    void ShowPreviewCopy(const TFastBMP& copy) override;
    void SetViewCaption(const std::string& caption) override;
    ScreenPoint PointerPosition() override;
    void MovePointer(ScreenPoint point) override;
    void OpenTextDialog() override;
    void OutlineStep() override { Timer1Timer(); }
    void ShowMoveTool() override;

    // DocumentHost
    void SetTitle(const std::string& title) override;
    void SelectPencil() override { SelectTool(Tool::Pencil); }
    void DocumentReplaced() override;
    void CancelStroke() override { tools->CancelStroke(); }

private:
    void N1Popup();
    void N6Popup();
    void TransparencyChanged();
    void ConnectEditCommands();
    void N5Click();
    void N12Click();
    void N36Click();
    void N37Click();
    void Connect(const char* name, void (TForm1::*handler)());
    // A menu item runs a command of a command set that may be replaced (tests).
    template <typename Commands>
    void ConnectCommand(const char* name, std::unique_ptr<Commands>& commands, void (Commands::*command)())
    {
        QAction* action = menu.Action(name);
        action->setEnabled(true);
        connect(action, &QAction::triggered, this,
                [this, &commands, command] { RunGuarded([&commands, command] { ((*commands).*command)(); }); });
    }
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
    std::unique_ptr<QtPrompts> qtPrompts;
    std::unique_ptr<FileCommands> files;
    QtClipboard clipboard;
    std::unique_ptr<EditCommands> edits;
    std::unique_ptr<ToolEngine> tools;
    TAddText* addText = nullptr;
    std::vector<OutlineDisplay*> outlineDisplays;
    bool startingUp = true;
};

} // namespace krt
