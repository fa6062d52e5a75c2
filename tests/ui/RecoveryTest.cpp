#include "UiSupport.h"
#include "UiTest.h"
#include "core/OwnMessages.h"
#include "recovery/RecoveryStore.h"
#include "recovery/ui/RecoveryWatch.h"
#include "recovery/ui/RestoreQuestion.h"
#include "support/TestSupport.h"

#include <QMessageBox>
#include <QtTest>

using namespace krt;
using krt::test::WhenModal;

namespace {

// A copy left by an editor that is gone.
RecoveryCopy LeaveCopy(const std::filesystem::path& folder, const TFastBMP& picture, const std::string& name)
{
    RecoveryStore gone(folder);
    RecoveryCopy about;
    about.fileName = name;
    about.title = "KRT Dalmor's Photo Editor - " + std::filesystem::path(name).filename().string();
    about.jpegQuality = 75;
    about.time = 1800000000;
    gone.Write(picture, about);
    return about;
}

std::vector<std::filesystem::path> Files(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() != ".lock")
            files.push_back(entry.path().filename());
    return files;
}

} // namespace

class RecoveryTest : public QObject {
    Q_OBJECT
private slots:
    // The question names the picture and answers to Alt+Y; Yes makes the copy
    // the document: same pixels, name, quality and title, changed, no undo.
    void yesRestoresTheCopyAsTheDocument()
    {
        test::TempFolder folder;
        const TFastBMP picture = test::PatternImage(64, 48);
        LeaveCopy(folder.Path(), picture, "/home/me/photo.jpg");
        test::Setup s;
        RecoveryStore store(folder.Path());
        QString question, title;
        WhenModal([&](QWidget* box) {
            question = static_cast<QMessageBox*>(box)->text();
            title = box->windowTitle();
            QTest::keyClick(box, Qt::Key_Y, Qt::AltModifier);
        });
        std::optional<RestoredCopy> restored = OfferRecovery(store);
        QVERIFY2(question.startsWith(QString::fromUtf8("\u201Cphoto.jpg\u201D was not saved when the editor closed (")),
                 qPrintable(question));
        QVERIFY(question.endsWith("). Restore it?"));
        QCOMPARE(title, QString("KRT Dalmor's Photo Editor"));
        QVERIFY(restored);
        s.window.Files().RestoreDocument(std::move(restored->picture), restored->copy.fileName,
                                         restored->copy.jpegQuality, restored->copy.title);
        QVERIFY(s.editor.Image.SamePixels(picture));
        QCOMPARE(s.editor.Document.DocFileName, std::string("/home/me/photo.jpg"));
        QCOMPARE(s.editor.Document.JpegQuality, 75);
        QCOMPARE(s.editor.Document.ModifiedCount, 1);
        QCOMPARE(s.editor.UndoCount, 0);
        QCOMPARE(s.window.windowTitle(), QString("KRT Dalmor's Photo Editor - photo.jpg"));
        RecoveryStore another(folder.Path());
        QVERIFY2(another.FindLeftovers().copies.empty(), "the restored copy belongs to this editor now");
    }

    // No (in Russian) keeps the copy in discarded/ and offers it no more.
    void noMovesTheCopyAsideInRussian()
    {
        test::TempFolder folder;
        LeaveCopy(folder.Path(), test::PatternImage(8, 8), "");
        SetMessageLanguage(Language::Russian);
        UseQtTexts(Language::Russian);
        RecoveryStore store(folder.Path());
        QString question;
        WhenModal([&](QWidget* box) {
            question = static_cast<QMessageBox*>(box)->text();
            QTest::mouseClick(static_cast<QMessageBox*>(box)->button(QMessageBox::No), Qt::LeftButton);
        });
        const std::optional<RestoredCopy> restored = OfferRecovery(store);
        SetMessageLanguage(Language::English);
        UseQtTexts(Language::English);
        QVERIFY(!restored);
        QVERIFY2(question.startsWith(QString::fromUtf8("\u00ABНовый рисунок\u00BB не был сохранён")),
                 qPrintable(question));
        QVERIFY(question.endsWith(QString::fromUtf8("Восстановить?")));
        QCOMPARE(Files(folder.Path("discarded")).size(), std::size_t{2});
        QVERIFY(Files(folder.Path()).empty());
    }

    // The running editor keeps its copy (others do not offer it); a save
    // removes it, and so does a normal exit.
    void theCopyIsKeptWhileChangedAndGoesWhenSavedOrAtExit()
    {
        test::TempFolder folder, pictures;
        RecoveryStore store(folder.Path());
        auto s = std::make_unique<test::Setup>();
        s->window.KeepRecoveryCopies(store);
        RecoveryWatch* watch = s->window.Recovery();
        s->editor.Document.ModifiedCount = 1;
        const auto start = RecoveryKeeper::Clock::now();
        watch->Check(start, false);
        watch->Check(start + RecoveryKeeper::Delay, false);
        watch->Finish();
        QCOMPARE(Files(folder.Path()).size(), std::size_t{2});
        RecoveryStore other(folder.Path());
        QVERIFY(other.FindLeftovers().copies.empty());

        s->editor.Document.DocFileName = pictures.Path("saved.bmp").string();
        s->window.Files().Save();
        watch->Finish();
        QVERIFY2(Files(folder.Path()).empty(), "saved: no copy");

        s->editor.Document.ModifiedCount = 1;
        watch->Check(start + 2 * RecoveryKeeper::Delay, false);
        watch->Check(start + 3 * RecoveryKeeper::Delay, false);
        watch->Finish();
        QCOMPARE(Files(folder.Path()).size(), std::size_t{2});
        s.reset();
        QVERIFY2(Files(folder.Path()).empty(), "a normal exit leaves no copy");
    }
};

static const bool registered = RegisterUiTest<RecoveryTest>();

#include "RecoveryTest.moc"
