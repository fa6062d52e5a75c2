#pragma once

#include "app/LayoutFile.h"
#include "app/ui/CaptionApplier.h"
#include "app/ui/MainWindow.h"
#include "app/ui/QtTranslations.h"
#include "document/Editor.h"
#include "lang/CaptionTables.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace krt::test {

// Closes every modal window, innermost first, so that a test whose check
// failed inside a dialog ends with its failure instead of waiting forever.
inline void CloseModals()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || QTest::currentTestFunction() == nullptr)
        return;
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
    const QByteArray test = QTest::currentTestFunction();
    QTimer::singleShot(0, [test] {
        if (test == QTest::currentTestFunction())
            CloseModals();
    });
}

// Runs `act` on the next modal window once it is up. Once a check of the
// test has failed, the window is closed instead, and a test that ended leaves
// nothing waiting for the next test's windows.
inline void WhenModal(std::function<void(QWidget*)> act)
{
    const QByteArray test = QTest::currentTestFunction();
    auto attempt = std::make_shared<std::function<void()>>();
    *attempt = [act, attempt, test] {
        if (test != QTest::currentTestFunction())
            return;
        if (QWidget* modal = QApplication::activeModalWidget()) {
            // Keys go to the focused widget: give the window a moment to become
            // active (a slow build may not have activated it yet; a window
            // opened over another modal one may never be told it is).
            if (!QTest::currentTestFailed()) {
                static_cast<void>(QTest::qWaitForWindowActive(modal, 500));
                act(modal);
            }
            if (QTest::currentTestFailed())
                CloseModals();
        } else {
            QTimer::singleShot(20, *attempt);
        }
    };
    QTimer::singleShot(20, *attempt);
}

// Presses a key on a widget a number of times, as a user would.
inline void Press(QWidget* widget, Qt::Key key, int times = 1)
{
    for (int i = 0; i < times; ++i)
        QTest::keyClick(widget, key);
}

// Selects the whole text of the box that has the focus with the keyboard
// (Home, then Shift+End), so that what is typed next replaces it.
inline void SelectAllTyped(QWidget* box)
{
    QTest::keyClick(box, Qt::Key_Home);
    QTest::keyClick(box, Qt::Key_End, Qt::ShiftModifier);
}

// The widget that has the keyboard focus (the window itself when none has).
inline QWidget* Focused(QWidget* window)
{
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus : window;
}

// Presses Tab in the window of `target` until the target has the keyboard
// focus, as a user would; false when a round of the Tab order never reaches it.
inline bool TabTo(QWidget* target)
{
    for (int i = 0; i < 40 && !target->hasFocus(); ++i)
        QTest::keyClick(Focused(target->window()), Qt::Key_Tab);
    return target->hasFocus();
}

// Moves a slider to a position with the keyboard: Tab to it, Home, then the
// right arrow.
inline void SlideTo(QAbstractSlider* slider, int value)
{
    QVERIFY2(TabTo(slider), qPrintable(slider->objectName() + " cannot be reached with Tab"));
    Press(Focused(slider->window()), Qt::Key_Home);
    Press(Focused(slider->window()), Qt::Key_Right, value);
}

// The language, once Qt's own texts speak it, as they do when the editor starts.
inline Language WithQtTexts(Language language)
{
    UseQtTexts(language);
    return language;
}

// The editor as it starts: Qt's texts in its language, windows laid out,
// captions applied, shown.
struct Setup {
    explicit Setup(Language language = Language::English, DataPaths paths = {})
        : editor(WithQtTexts(language), std::move(paths)), window(editor)
    {
        const auto table = CaptionTable(language);
        ApplyMessageEntries(table, editor.Messages);
        window.ApplyWindowLayout(DefaultWindowLayout());
        window.FinishStartUp();
        ApplyCaptions(table, window.Windows());
        window.show();
    }
    Editor editor;
    TForm1 window;
};

} // namespace krt::test
