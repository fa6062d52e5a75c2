#include "UiSupport.h"
#include "UiTest.h"
#include "scan/SaneScanner.h"
#include "scan/ScannerChoice.h"
#include "scan/ui/ScannerWindows.h"
#include "support/SaneTestBackend.h"

#include <QMessageBox>
#include <QtTest>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>

using namespace krt;
using krt::test::SaneConfiguration;
using krt::test::WhenModal;

namespace {

// A scanner of our own that sends the first piece of its frame and then holds
// the rest until the scan is cancelled (or ten seconds pass, so that a lost
// cancel fails the test instead of hanging it). The SANE test backend is not
// used for a cancel during reading: it cancels its reader thread
// asynchronously, and now and then its own sane_cancel then waits for ever
// (the scan tests cover that path in a child with a time limit).
class HoldingScanner : public ScannerSession {
public:
    std::vector<ScanOptionInfo> Options() override { return {}; }
    OptionValue Get(const std::string&) override { return 0.0; }
    void Set(const std::string&, const OptionValue&) override {}
    void Start() override { sent = false; }
    FrameParameters Parameters() override { return {FrameFormat::Rgb, true, 300, 100, 100, 8}; }
    std::size_t Read(std::uint8_t* data, std::size_t size) override
    {
        if (!std::exchange(sent, true)) {
            const std::size_t piece = std::min<std::size_t>(size, 600);
            std::fill_n(data, piece, std::uint8_t{200});
            return piece;
        }
        std::unique_lock lock(mutex);
        if (!wake.wait_for(lock, std::chrono::seconds(10), [this] { return cancelled; }))
            throw ScanError("the scan was never cancelled");
        throw ScanCancelled();
    }
    void Cancel() override
    {
        std::lock_guard lock(mutex);
        cancelled = true;
        wake.notify_all();
    }

private:
    bool sent = false;
    std::mutex mutex;
    std::condition_variable wake;
    bool cancelled = false;
};

class HoldingScanners : public ScannerService {
public:
    std::vector<ScannerInfo> Devices() override
    {
        return {{"holding:0", "Ours", "Holding scanner", "flatbed scanner"}};
    }
    std::unique_ptr<ScannerSession> Open(const std::string&) override { return std::make_unique<HoldingScanner>(); }
};

struct Session {
    Session()
    {
        s.window.Scanners().choiceFile = folder.Path("scanner").string();
        s.editor.Document.DocFileName = "/tmp/before.jpg";
        s.window.SetTitle("KRT Dalmor's Photo Editor - before.jpg");
    }
    test::TempFolder folder;
    test::Setup s;
};

QString TakeMessage(QWidget* box)
{
    const QString text = static_cast<QMessageBox*>(box)->text();
    static_cast<QMessageBox*>(box)->accept();
    return text;
}

} // namespace

class ScanTest : public QObject {
    Q_OBJECT
private slots:
    void aColourScanOfTheChosenAreaBecomesTheDocument()
    {
        if (!SaneConfiguration::Available())
            QSKIP("The SANE test backend (libsane1, /etc/sane.d/test.conf) is not installed.");
        SaneConfiguration sane(SaneConfiguration::Backends::Test);
        Session t;
        QString label;
        WhenModal([&label](QWidget* modal) {
            auto* form = qobject_cast<TScanForm*>(modal);
            QVERIFY(form);
            label = form->ScannerLabel()->text();
            QVERIFY(form->ModeBox()->isVisible());
            QTest::keyClick(form->ModeBox(), Qt::Key_Down); // from "Gray" to "Color"
            QCOMPARE(form->ModeBox()->currentText(), QString("Color"));
            QCOMPARE(form->ResolutionEdit()->value(), 50);
            test::Press(form->AreaEdit(2), Qt::Key_Down, 40); // right edge from 80 to 40 mm: 78 pixels at 50 dpi
            QTest::mouseClick(form->ScanButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N19")->trigger();
        QCOMPARE(label, QString("Noname frontend-tester (test:0)"));
        QCOMPARE(t.s.editor.Image.Width, 78);
        QCOMPARE(t.s.editor.Image.Height, 196);
        QCOMPARE(t.s.editor.Image.Pixel(40, 100), Black); // the test scanner's "Solid black"
        QCOMPARE(t.s.editor.Document.ModifiedCount, 1);
        QVERIFY(t.s.editor.Document.DocFileName.empty());
        QCOMPARE(t.s.window.windowTitle(), QString("KRT Dalmor's Photo Editor - before.jpg"));
        QCOMPARE(t.s.editor.Settings.CurrentTool, Tool::Pencil);
    }

    // The next opening in the same run shows the last settings, and Enter
    // scans whatever had the focus when the last scan started.
    void theLastSettingsComeBackAndEnterScans()
    {
        if (!SaneConfiguration::Available())
            QSKIP("The SANE test backend (libsane1, /etc/sane.d/test.conf) is not installed.");
        SaneConfiguration sane(SaneConfiguration::Backends::Test);
        Session t;
        WhenModal([](QWidget* modal) {
            auto* form = static_cast<TScanForm*>(modal);
            QVERIFY(test::TabTo(form->ModeBox()));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
            QVERIFY(test::TabTo(form->ResolutionEdit()));
            test::Press(QApplication::focusWidget(), Qt::Key_Up, 25);
            QVERIFY(test::TabTo(form->AreaEdit(2)));
            test::Press(QApplication::focusWidget(), Qt::Key_Down, 40);
            QTest::mouseClick(form->ScanButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N19")->trigger();
        QCOMPARE(t.s.editor.Image.Width, 118);
        t.s.editor.Document.ModifiedCount = 0; // no question before the next scan // 40 mm at 75 dpi
        t.s.editor.Document.DocFileName = "/tmp/between.jpg";
        QString mode;
        int resolution = 0;
        WhenModal([&](QWidget* modal) {
            auto* form = qobject_cast<TScanForm*>(modal);
            QVERIFY(form);
            mode = form->ModeBox()->currentText();
            resolution = form->ResolutionEdit()->value();
            QTest::keyClick(test::Focused(form), Qt::Key_Return);
        });
        t.s.window.Menu().Action("N19")->trigger();
        QCOMPARE(mode, QString("Color"));
        QCOMPARE(resolution, 75);
        QVERIFY2(t.s.editor.Document.DocFileName.empty(), "Enter did not scan");
        QCOMPARE(t.s.editor.Image.Width, 118);
    }

    void cancelBeforeOrDuringTheScanLeavesTheDocument()
    {
        Session t;
        t.s.window.Scanners().startService = [] { return std::make_unique<HoldingScanners>(); };
        t.s.editor.Document.ModifiedCount = 0;
        WhenModal(
            [](QWidget* modal) { QTest::mouseClick(static_cast<TScanForm*>(modal)->CancelButton(), Qt::LeftButton); });
        t.s.window.Menu().Action("N19")->trigger();
        QCOMPARE(t.s.editor.Image.Width, 1000);

        bool sawProgress = false;
        WhenModal([&sawProgress](QWidget* modal) {
            auto* form = static_cast<TScanForm*>(modal);
            QTest::mouseClick(form->ScanButton(), Qt::LeftButton);
            QVERIFY(form->Scanning());
            QVERIFY(!form->ScanButton()->isEnabled());
            QTRY_VERIFY_WITH_TIMEOUT(form->Progress()->value() > 0, 10000);
            sawProgress = form->Progress()->isVisibleTo(form);
            QTest::mouseClick(form->CancelButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N19")->trigger();
        QVERIFY(sawProgress);
        QCOMPARE(t.s.editor.Image.Width, 1000);
        QCOMPARE(t.s.editor.Document.DocFileName, std::string("/tmp/before.jpg"));
        QVERIFY(!t.s.window.Scanners().ScanForm()->Scanning());
    }

    void theChosenSourceIsRememberedAndUsed()
    {
        if (!SaneConfiguration::Available())
            QSKIP("The SANE test backend (libsane1, /etc/sane.d/test.conf) is not installed.");
        SaneConfiguration sane(SaneConfiguration::Backends::Test);
        Session t;
        WhenModal([](QWidget* modal) {
            auto* form = qobject_cast<TSourceForm*>(modal);
            QVERIFY(form);
            QCOMPARE(form->List()->count(), 2);
            QTest::keyClick(form->List(), Qt::Key_Down);
            QTest::mouseClick(form->ActionButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N20")->trigger();
        QCOMPARE(LoadChosenScanner(t.s.window.Scanners().choiceFile), std::string("test:1"));
        QString label;
        WhenModal([&label](QWidget* modal) {
            label = static_cast<TScanForm*>(modal)->ScannerLabel()->text();
            QTest::mouseClick(static_cast<TScanForm*>(modal)->CancelButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N19")->trigger();
        QCOMPARE(label, QString("Noname frontend-tester (test:1)"));
    }

    void withoutAScannerBothCommandsSaySo()
    {
        SaneConfiguration sane(SaneConfiguration::Backends::None);
        Session t;
        for (const char* command : {"N19", "N20"}) {
            QString message;
            WhenModal([&message](QWidget* box) { message = TakeMessage(box); });
            t.s.window.Menu().Action(command)->trigger();
            QVERIFY2(message.startsWith("No scanner was found."), qPrintable(message));
        }
        QCOMPARE(t.s.editor.Image.Width, 1000);
        QCOMPARE(t.s.editor.Document.DocFileName, std::string("/tmp/before.jpg"));
    }
};

static const bool registered = RegisterUiTest<ScanTest>();

#include "ScanTest.moc"
