#pragma once

#include "app/Editor.h"
#include "app/FileCommands.h"
#include "app/LayoutFile.h"
#include "app/ui/CaptionApplier.h"
#include "app/ui/EditorWindows.h"
#include "app/ui/MainMenu.h"
#include "app/ui/OutlineDisplay.h"
#include "app/ui/QtPrompts.h"
#include "app/ui/SizeDialogs.h"

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

// The frame of the editor: the multiple-document area with the fixed child
// windows, the main menu with its command routing, the title and the timer
// that animates the selection outline. It also routes what one child window
// asks of another.
class TForm1 : public QMainWindow, public EditorWindows, public DocumentHost {
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
    FileCommands& Files() { return *files; }
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
    void SelectTool(int tool) override;
    void EnableOptions(unsigned options) override;
    bool StartingUp() const override { return startingUp; }

    // DocumentHost
    void SetTitle(const std::string& title) override;
    void SelectPencil() override { SelectTool(1); }
    void DocumentReplaced() override;
    void CancelStroke() override {}

private:
    void N1Popup();
    void N5Click();
    void N12Click();
    void N36Click();
    void N37Click();
    void Connect(const char* name, void (TForm1::*handler)());
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
    std::vector<OutlineDisplay*> outlineDisplays;
    bool startingUp = true;
};

} // namespace krt
