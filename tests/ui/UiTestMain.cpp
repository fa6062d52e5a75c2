#include "UiSupport.h"
#include "UiTest.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QtTest>

std::vector<UiTestFactory>& UiTests()
{
    static std::vector<UiTestFactory> tests;
    return tests;
}

namespace {

// A window that no test closes (an error message a test did not expect, say)
// would hold the whole program until its time limit. One that stays up for a
// minute fails the running test with its title and text, and is closed.
class LeftOpenWindows : public QObject {
public:
    static constexpr qint64 Limit = 60000;

    LeftOpenWindows()
    {
        connect(&timer, &QTimer::timeout, this, [this] { Look(); });
        timer.start(1000);
    }

private:
    void Look()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != seen || !QTest::currentTestFunction()) {
            seen = modal;
            since.start();
            return;
        }
        if (!modal || since.elapsed() < Limit)
            return;
        QString what = modal->metaObject()->className() + QString(" \"") + modal->windowTitle() + "\"";
        if (auto* box = qobject_cast<QMessageBox*>(modal))
            what += ": " + box->text();
        QTest::qFail(qPrintable("a window stayed open for a minute: " + what), __FILE__, __LINE__);
        krt::test::CloseModals();
        since.start();
    }

    QTimer timer;
    QPointer<QWidget> seen;
    QElapsedTimer since;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    LeftOpenWindows guard;
    int failures = 0;
    for (const UiTestFactory& make : UiTests()) {
        auto test = make();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures;
}
