#pragma once

#include "document/Editor.h"
#include "app/LayoutFile.h"
#include "app/ui/CaptionApplier.h"
#include "app/ui/MainWindow.h"
#include "lang/CaptionTables.h"

#include <QApplication>
#include <QTimer>

#include <functional>
#include <memory>

namespace krt::test {

// Runs `act` on the next modal window once it is up.
inline void WhenModal(std::function<void(QWidget*)> act)
{
    auto attempt = std::make_shared<std::function<void()>>();
    *attempt = [act, attempt] {
        if (QWidget* modal = QApplication::activeModalWidget())
            act(modal);
        else
            QTimer::singleShot(20, *attempt);
    };
    QTimer::singleShot(20, *attempt);
}

// The editor as it starts: windows laid out, captions applied, shown.
struct Setup {
    explicit Setup(Language language = Language::English, DataPaths paths = {})
        : editor(language, std::move(paths)), window(editor)
    {
        const auto table = CaptionTable(language);
        ApplyMessageEntries(table, editor.messages);
        window.ApplyWindowLayout(DefaultWindowLayout());
        window.FinishStartUp();
        ApplyCaptions(table, window.Windows());
        window.show();
    }
    Editor editor;
    TForm1 window;
};


} // namespace krt::test
