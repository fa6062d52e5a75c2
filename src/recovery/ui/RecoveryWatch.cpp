#include "recovery/ui/RecoveryWatch.h"

#include <QApplication>
#include <QEvent>

#include <chrono>

namespace krt {

RecoveryWatch::RecoveryWatch(const Editor& ed, RecoveryStore& store, std::function<std::string()> windowTitle,
                             QObject* parent)
    : QObject(parent), editor(ed), title(std::move(windowTitle)), writer(store, [this] { writeFailed = true; })
{
    qApp->installEventFilter(this);
    timer.setInterval(1000);
    connect(&timer, &QTimer::timeout, this, [this] {
        // A button held (a stroke or a drag) or a dialog open (an effect, a
        // question) means the picture is in the middle of changing.
        const bool busy = QApplication::mouseButtons() != Qt::NoButton || QApplication::activeModalWidget();
        Check(RecoveryKeeper::Clock::now(), busy);
    });
    timer.start();
}

RecoveryWatch::~RecoveryWatch()
{
    timer.stop();
    writer.Remove();
    writer.Finish();
}

void RecoveryWatch::ChangesGone()
{
    if (keeper.Discard(RecoveryKeeper::Clock::now(), Unsaved()) == RecoveryKeeper::Step::Remove)
        writer.Remove();
}

void RecoveryWatch::Check(RecoveryKeeper::Clock::time_point now, bool busy)
{
    if (writeFailed.exchange(false))
        keeper.WriteFailed(now);
    switch (keeper.Next(now, busy || writer.Writing(), Unsaved())) {
    case RecoveryKeeper::Step::Wait: break;
    case RecoveryKeeper::Step::Remove: writer.Remove(); break;
    case RecoveryKeeper::Step::Write: {
        // The only work the interface does for a copy: the pixels as they show.
        RecoverySnapshot snapshot;
        snapshot.picture.CopyFrom(editor.Image);
        snapshot.about.fileName = editor.Document.DocFileName;
        snapshot.about.title = title ? title() : std::string();
        snapshot.about.jpegQuality = editor.Document.JpegQuality;
        snapshot.about.exif = editor.Document.Exif;
        snapshot.about.time =
            std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
                .count();
        writer.Write(std::move(snapshot));
        keeper.Written();
        break;
    }
    }
}

bool RecoveryWatch::eventFilter(QObject*, QEvent* event)
{
    // Looked at once the release has done its work (a command it triggers
    // runs first).
    if (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyRelease)
        QMetaObject::invokeMethod(
            this, [this] { keeper.Changed(RecoveryKeeper::Clock::now(), Unsaved()); }, Qt::QueuedConnection);
    return false;
}

} // namespace krt
