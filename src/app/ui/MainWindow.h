#pragma once

#include "app/Editor.h"
#include "app/ui/CaptionApplier.h"
#include "app/ui/MainMenu.h"
#include "app/ui/OutlineDisplay.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QTimer>

#include <vector>

namespace krt {

class TAboutBox;

// The frame of the editor: the multiple-document area that holds the fixed
// child windows, the main menu with its command routing, the title and the
// timer that animates the selection outline.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(Editor& editor, QWidget* parent = nullptr);

    QMdiArea* MdiArea() const { return mdi; }
    const MainMenu& Menu() const { return menu; }
    TAboutBox* AboutBox() const { return aboutBox; }
    QTimer* Timer1() const { return timer; }

    // The windows that the caption tables name, by class name.
    CaptionWindows Windows() const;
    // Child windows that show the selection outline join the timer's round.
    void AddOutlineDisplay(OutlineDisplay* display) { outlineDisplays.push_back(display); }

    // One tick of the outline timer: with a selection, every outline display
    // draws the current phase, which then advances.
    void Timer1Timer();

private:
    void N5Click();
    void N12Click();
    void N36Click();
    void N37Click();
    void Connect(const char* name, void (TForm1::*handler)());

    Editor& editor;
    QMdiArea* mdi = nullptr;
    MainMenu menu;
    QTimer* timer = nullptr;
    TAboutBox* aboutBox = nullptr;
    std::vector<OutlineDisplay*> outlineDisplays;
};

} // namespace krt
