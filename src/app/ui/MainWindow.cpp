#include "app/ui/MainWindow.h"

#include "app/ui/AboutBox.h"
#include "app/ui/EditMenu.h"
#include "app/ui/FileMenu.h"
#include "app/ui/HelpMenus.h"
#include "app/ui/PreviewForm.h"
#include "core/DataPaths.h"
#include "core/Product.h"
#include "core/ui/RunGuarded.h"
#include "core/ui/ShortcutGuard.h"
#include "deform/ui/DeformationMenu.h"
#include "effects/ui/ColorEffectsMenu.h"
#include "effects/ui/FilterMenu.h"
#include "paint/ColorPanels.h"
#include "paint/FloatingBlock.h"
#include "paint/View.h"
#include "paint/ui/AddText.h"
#include "paint/ui/ColorForm.h"
#include "paint/ui/EditForm.h"
#include "paint/ui/InstrumForm.h"
#include "paint/ui/OptForm.h"
#include "recovery/ui/RecoveryWatch.h"
#include "scan/ui/ScannerWindows.h"

#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QUrl>

#include <algorithm>
#include <limits>

namespace krt {

TForm1::TForm1(Editor& ed, QWidget* parent) : QMainWindow(parent), editor(ed)
{
    setObjectName("Form1");
    setWindowTitle(QString::fromUtf8(ProductTitle));
    setGeometry(242, 95, 543, 323);

    mdi = new QMdiArea(this);
    mdi->setObjectName("MdiArea");
    mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setCentralWidget(mdi);
    menu = BuildMainMenu(menuBar());
    menuBar()->setObjectName("MainMenu1");
    CreateChildWindows();
    new ShortcutGuard(this, editForm->Image());
    tools = std::make_unique<ToolEngine>(editor, *this, *this, *this);
    editForm->AttachTools(*tools);

    qtPrompts = std::make_unique<QtPrompts>(this, newImage, imgResize);
    prompts = std::make_unique<PromptsRelay>(*qtPrompts);
    files = std::make_unique<FileCommands>(editor, *prompts, *this, *this);
    edits = std::make_unique<EditCommands>(editor, *prompts, *this, *this, *files, clipboard);
    printing = std::make_unique<PrintCommand>(editor, *this, this);
    scanners = new ScannerWindows((ConfigFolder() / "scanner").string(), this);
    BindFileMenu(menu.Menu("N1"), *files,
                 {[this] { printing->Print(); }, [this] { return scanners->Acquire(); },
                  [this] { scanners->SelectSource(); }, [this] { close(); }});
    BindEditMenu(menu.Menu("N6"), *edits);
    BindHelpMenus(menu.Menu("WebMenu"), menu.Menu("N21"), editor.Language, editor.Paths, aboutBox);
    effects = std::make_unique<EffectFrame>(editor, *this, *this);
    openAddress = [](const std::string& address) {
        QDesktopServices::openUrl(QUrl(QString::fromStdString(address), QUrl::TolerantMode));
    };
    const InterfaceContext context{editor.Language, editor.Messages, editor.Paths};
    deformations = new DeformationMenu(menu.Menu("N29"), menu.Menu("WebMenu"), context, ColorPair(editor.Settings),
                                       *effects, this, [this](const std::string& address) { openAddress(address); });
    filters = new FilterMenu(menu.Menu("N30"), context, *effects, this);
    colorEffects = new ColorEffectsMenu(menu.Menu("N24"), menu.Menu("N28"), ColorPair(editor.Settings), *effects, this);

    timer = new QTimer(this);
    timer->setObjectName("Timer1");
    timer->setInterval(1000);
    connect(timer, &QTimer::timeout, this, [this] { RunGuarded([this] { Timer1Timer(); }); });
    timer->start();
}

TForm1::~TForm1() = default;

// The fixed child windows and dialogs, in their order of creation.
void TForm1::CreateChildWindows()
{
    previewForm = new TPreviewForm(editor, *this);
    AddChild(previewForm, true);
    editForm = new TEditForm(editor, *this);
    AddChild(editForm, true);
    instrumForm = new TInstrumForm(editor, *this, *this);
    instrumForm->onToolCursor = [this](ToolCursor cursor) { editForm->SetToolCursor(cursor); };
    AddChild(instrumForm, false);
    optForm = new TOptForm(editor.Settings);
    optForm->onTransparencyChanged = [this] { ShowTransparency(); };
    instrumForm->onToolOptions = [this](unsigned options) { optForm->EnableOptions(options); };
    AddChild(optForm, false);
    aboutBox = new TAboutBox(editor.Language, this);
    newImage = new TNewImage(sizeResults, this);
    imgResize = new TImgResize(sizeResults, this);
    colorForm = new TColorForm(editor.Settings, *this);
    AddChild(colorForm, false);
    addText = new TAddText(editor, *this, *this, this);
    AddOutlineDisplay(previewForm);
    AddOutlineDisplay(editForm);
}

QMdiSubWindow* TForm1::AddChild(QWidget* form, bool resizable)
{
    QMdiSubWindow* sub = mdi->addSubWindow(form, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    sub->setObjectName(form->objectName() + "Window");
    sub->setWindowTitle(form->windowTitle());
    // The child windows are never closed; their captions follow the form's.
    connect(form, &QWidget::windowTitleChanged, sub, &QWidget::setWindowTitle);
    if (!resizable)
        sub->setFixedSize(sub->sizeHint());
    sub->show();
    return sub;
}

QMdiSubWindow* TForm1::SubWindow(QWidget* form) const
{
    for (QMdiSubWindow* sub : mdi->subWindowList())
        if (sub->widget() == form)
            return sub;
    return nullptr;
}

CaptionWindows TForm1::Windows() const
{
    CaptionWindows windows;
    windows.insert("TForm1", const_cast<TForm1*>(this));
    windows.insert("TAboutBox", aboutBox);
    windows.insert("TPreviewForm", previewForm);
    windows.insert("TEditForm", editForm);
    windows.insert("TInstrumForm", instrumForm);
    windows.insert("TOptForm", optForm);
    windows.insert("TColorForm", colorForm);
    windows.insert("TNewImage", newImage);
    windows.insert("TImgResize", imgResize);
    windows.insert("TAddText", addText);
    windows.insert("TEffectForm", deformations->EffectForm());
    windows.insert("TEditEffect", deformations->EditEffect());
    windows.insert("TDeleteEffForm", deformations->DeleteEffForm());
    windows.insert("TSendEffectForm", deformations->SendEffectForm());
    windows.insert("TGammaForm", colorEffects->GammaForm());
    windows.insert("TParamsForm", colorEffects->ParamsForm());
    windows.insert("TFilterForm", filters->FilterForm());
    windows.insert("TDeleteFilForm", filters->DeleteFilForm());
    windows.insert("TButtonize", colorEffects->Buttonize());
    windows.insert("TClouds", colorEffects->Clouds());
    windows.insert("TScanForm", scanners->ScanForm());
    windows.insert("TSourceForm", scanners->SourceForm());
    return windows;
}

namespace {

WindowRect ToRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

} // namespace

// Every stored rectangle is made reachable and sane before it is applied: the
// main window on the screen, the child windows in the work area, each at least
// as large as its own minimum (the document window's minimum client height).
void TForm1::ApplyWindowLayout(const std::vector<LayoutValue>& values)
{
    auto stored = [&](const char* section, WindowRect fixed = {}) {
        auto get = [&](const char* key, int fallback) { return LayoutLookup(values, section, key, fallback); };
        return WindowRect{get("Left", 0), get("Top", 0), get("Width", fixed.w), get("Height", fixed.h)};
    };
    // Numbers out of range choose the first item (SetQuality).
    deformations->EffectForm()->SetQuality({static_cast<Sampling>(LayoutLookup(values, "EffectForm", "Sampling", 0)),
                                            LayoutLookup(values, "EffectForm", "Supersample", 1),
                                            static_cast<EdgeMode>(LayoutLookup(values, "EffectForm", "Edge", 0))});
    const QScreen* shown = screen();
    const WindowRect desktop = ToRect(shown ? shown->availableGeometry() : QRect(0, 0, 1024, 768));
    // The main window lies across the screen whole, so its menu bar is always there.
    const WindowRect main = ReachableRect(stored("Form1"), desktop, ToRect(QRect(QPoint(), minimumSizeHint())), desktop,
                                          Grip{desktop.w, 60});
    move(main.x, main.y);
    resize(main.w, main.h);
    if (QLayout* frame = layout())
        frame->activate();
    const WindowRect workArea = ToRect(mdi->rect());
    for (QWidget* form : std::initializer_list<QWidget*>{previewForm, editForm, instrumForm, optForm, colorForm}) {
        QMdiSubWindow* sub = SubWindow(form);
        const QMargins frameMargins = sub->contentsMargins();
        const QSize least = form->minimumSize().grownBy(frameMargins).expandedTo(sub->minimumSizeHint());
        const bool resizable = form == previewForm || form == editForm;
        if (resizable)
            sub->setMinimumSize(least);
        const WindowRect fixed = ToRect(sub->geometry());
        // The whole title bar stays inside the frame's client area, so the
        // window can always be grabbed and moved.
        const Grip titleBar{std::numeric_limits<int>::max(), std::max(frameMargins.top(), 1)};
        const WindowRect r = ReachableRect(stored(form->objectName().toUtf8(), fixed), workArea,
                                           resizable ? ToRect(QRect(QPoint(), least)) : fixed,
                                           resizable ? ToRect(QRect(QPoint(), mdi->size())) : fixed, titleBar);
        sub->move(r.x, r.y);
        if (resizable)
            sub->resize(r.w, r.h);
    }
}

std::vector<LayoutValue> TForm1::CurrentWindowLayout() const
{
    std::vector<LayoutValue> values = DefaultWindowLayout();
    const WarpQuality quality = deformations->EffectForm()->Quality();
    for (LayoutValue& v : values) {
        if (v.section == "EffectForm") {
            v.value = v.key == "Sampling"      ? static_cast<int>(quality.sampling)
                      : v.key == "Supersample" ? quality.samples
                                               : static_cast<int>(quality.edge);
            continue;
        }
        const QWidget* window = v.section == "Form1" ? static_cast<const QWidget*>(this) : nullptr;
        if (!window)
            for (QWidget* form :
                 {static_cast<QWidget*>(previewForm), static_cast<QWidget*>(editForm),
                  static_cast<QWidget*>(instrumForm), static_cast<QWidget*>(optForm), static_cast<QWidget*>(colorForm)})
                if (form->objectName().toStdString() == v.section)
                    window = SubWindow(form);
        if (!window)
            continue;
        const QRect g(window->pos(), window->size());
        v.value = v.key == "Left" ? g.x() : v.key == "Top" ? g.y() : v.key == "Width" ? g.width() : g.height();
    }
    return values;
}

void TForm1::KeepRecoveryCopies(RecoveryStore& store)
{
    recovery = new RecoveryWatch(
        editor, store, [this] { return windowTitle().toStdString(); }, this);
}

void TForm1::UnsavedChangesGone()
{
    if (recovery)
        recovery->ChangesGone();
}

void TForm1::FinishStartUp()
{
    instrumForm->PressTool(Tool::Pencil);
    RefreshColorPanels();
    previewForm->LayOutPreview(true);
    RedrawView();
    // The keys start with the picture, not with a box the user did not choose.
    mdi->setActiveSubWindow(SubWindow(editForm));
    editForm->Image()->setFocus(Qt::OtherFocusReason);
}

void TForm1::Timer1Timer()
{
    if (!editor.Selection.HasSelection())
        return;
    for (OutlineDisplay* display : outlineDisplays)
        display->DrawOutline(editor.Outline);
    editor.Outline.Advance();
}

void TForm1::RedrawView()
{
    krt::RedrawView(editor);
    editForm->ShowView();
}

void TForm1::RedrawPreview()
{
    krt::RedrawPreview(editor);
    previewForm->ShowPreview();
}

void TForm1::UpdatePreview(double x, double y, double w, double h)
{
    UpdatePreviewRect(editor, x, y, w, h);
    previewForm->ShowPreview();
}

void TForm1::RelayoutPreview(bool outline) { previewForm->LayOutPreview(outline); }

void TForm1::ShowViewCopy(const TFastBMP& copy) { editForm->Image()->Show(copy); }

void TForm1::ShowPreviewCopy(const TFastBMP& copy) { previewForm->Image()->Show(copy); }

void TForm1::SelectTool(Tool tool) { instrumForm->PressTool(tool); }

void TForm1::ShowMoveTool() { instrumForm->ShowMoveTool(); }

void TForm1::RefreshColorPanels()
{
    ColorPanelImages images;
    RenderColorPanels(editor.Settings, images);
    instrumForm->ShowSwatches(images);
    colorForm->ShowPanels(images);
}

void TForm1::SetViewCaption(const std::string& caption) { editForm->setWindowTitle(QString::fromStdString(caption)); }

ScreenPoint TForm1::PointerPosition()
{
    const QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void TForm1::MovePointer(ScreenPoint point) { QCursor::setPos(point.x, point.y); }

void TForm1::OpenTextDialog() { addText->Ask(tools->TextPosition); }

// A placed text that still floats shows a new transparency at once.
void TForm1::ShowTransparency()
{
    if (!editor.Selection.FloatingText)
        return;
    MoveSelectionBy(editor, 0, 0, 0, 0);
    RedrawView();
    RedrawPreview();
}

// Exit and closing the window end the program once unsaved changes are saved
// or given up; a cancelled question or save keeps the editor open.
void TForm1::closeEvent(QCloseEvent* event)
{
    bool mayExit = false;
    RunGuarded([&] { mayExit = files->MayExit(); });
    if (mayExit)
        event->accept();
    else
        event->ignore();
}

void TForm1::SetTitle(const std::string& title) { setWindowTitle(QString::fromStdString(title)); }

void TForm1::DocumentReplaced()
{
    previewForm->LayOutPreview(false);
    RedrawView();
}

} // namespace krt
