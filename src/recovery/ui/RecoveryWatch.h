#pragma once

#include "document/Editor.h"
#include "recovery/RecoveryKeeper.h"
#include "recovery/RecoveryWriter.h"

#include <QObject>
#include <QTimer>

#include <atomic>
#include <functional>
#include <string>

namespace krt {

// Keeps the editor's recovery copy: every second it asks the keeper whether a
// copy is due (a change the last copy lacks, 30 s old, with no stroke, drag
// or dialog under way) and hands a snapshot of the picture to the writer. A
// mouse or key release anywhere in the application counts as the end of
// something the user did.
class RecoveryWatch : public QObject {
public:
    // `title` gives the main window's title for the copy's description.
    RecoveryWatch(const Editor& editor, RecoveryStore& store, std::function<std::string()> title,
                  QObject* parent = nullptr);
    // A normal exit: the copy goes.
    ~RecoveryWatch() override;

    // The picture was saved, or the user chose to drop its changes.
    void ChangesGone();
    // A copy left by an editor that died became the document.
    void Adopted() { keeper.Adopted(); }
    // One look at the schedule (the timer's; tests pass their own clock).
    void Check(RecoveryKeeper::Clock::time_point now, bool busy);
    // Waits until the copy is written (or removed) as far as asked.
    void Finish() { writer.Finish(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Unsaved() const { return editor.Document.ModifiedCount != 0; }

    const Editor& editor;
    std::function<std::string()> title;
    RecoveryKeeper keeper;
    std::atomic<bool> writeFailed{false};
    RecoveryWriter writer;
    QTimer timer;
};

} // namespace krt
