#include "install/ui/InstallWindow.h"
#include "UiSupport.h"
#include "UiTest.h"
#include "support/TestSupport.h"

#include <QMessageBox>
#include <QtTest>

using namespace krt;
using krt::test::WhenModal;

class InstallWindowTest : public QObject {
    Q_OBJECT
private slots:
    void okInstallsTheChosenLanguageAndEndsAfterFiveTicks()
    {
        test::TempFolder root;
        const DesktopFolders folders{root.Path("data"), root.Path("config")};
        TINSTALL window({Language::English, "/usr/bin/krtphoto", KRT_SOURCE_DATA_DIR, root.Path("home")}, folders);
        QCOMPARE(window.windowTitle(), QString("INSTALL"));
        QVERIFY(window.RadioButton2()->isChecked());
        std::vector<int> statuses;
        window.finish = [&statuses](int status) { statuses.push_back(status); };
        window.Timer1()->setInterval(5);
        window.show();
        QTest::mouseClick(window.Rus(), Qt::LeftButton, {}, QPoint(8, 11));
        QVERIFY(window.Rus()->isChecked());
        QTest::mouseClick(window.Button1(), Qt::LeftButton);
        QVERIFY(!window.Button1()->isEnabled());
        const auto lng = test::ReadBytes(root.Path("home/krtphoto.lng"));
        QCOMPARE(std::string(lng.begin(), lng.end()), std::string("Russian\r\n"));
        for (const auto& file : GroupFiles(folders))
            QVERIFY2(std::filesystem::exists(file), file.c_str());
        QVERIFY(statuses.empty());
        QTRY_COMPARE(statuses.size(), std::size_t{1});
        QCOMPARE(statuses[0], 1);
        QTest::qWait(50);
        QCOMPARE(statuses.size(), std::size_t{1}); // the timer stops
    }

    // The language is a standard radio group: Tab reaches the chosen one and
    // the arrow keys choose.
    void theArrowKeysChooseTheLanguage()
    {
        test::TempFolder root;
        TINSTALL window({Language::English, "/usr/bin/krtphoto", KRT_SOURCE_DATA_DIR, root.Path("home")},
                        DesktopFolders{root.Path("data"), root.Path("config")});
        window.finish = [](int) {};
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(test::TabTo(window.RadioButton2()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QVERIFY(window.Rus()->isChecked() && window.Rus()->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY(window.RadioButton2()->isChecked() && window.RadioButton2()->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(window.Button1()->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(window.Rus()->hasFocus(), "Tab lands on the chosen language");
    }

    void uninstallAsksAndOnlyYesRemoves()
    {
        test::TempFolder root;
        const DesktopFolders folders{root.Path("data"), root.Path("config")};
        Install({Language::English, "/usr/bin/krtphoto", KRT_SOURCE_DATA_DIR, root.Path("home")}, folders);
        QString question;
        WhenModal([&question](QWidget* box) {
            question = static_cast<QMessageBox*>(box)->text();
            QTest::keyClick(box, Qt::Key_N);
        });
        QCOMPARE(RunUninstall(folders), 1);
        QCOMPARE(question, QString("Uninstall?"));
        for (const auto& file : GroupFiles(folders))
            QVERIFY(std::filesystem::exists(file));
        WhenModal([](QWidget* box) {
            QTest::mouseClick(static_cast<QMessageBox*>(box)->button(QMessageBox::Yes), Qt::LeftButton);
        });
        QCOMPARE(RunUninstall(folders), 0);
        for (const auto& file : GroupFiles(folders))
            QVERIFY(!std::filesystem::exists(file));
        QVERIFY(std::filesystem::exists(root.Path("home/krtphoto.lng")));
    }
};

static const bool registered = RegisterUiTest<InstallWindowTest>();

#include "InstallWindowTest.moc"
