// Every text a window shows changes with the interface language: the caption
// tables reach every window, and nothing stays in the design language by
// mistake.

#include "UiSupport.h"
#include "UiTest.h"
#include "support/TestSupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QtTest>

using namespace krt;

namespace {

// Texts that are the same in both languages on purpose: names, symbols
// (colour channels, formula letters, the text styles' letters, the "more
// colours" button), the brush modes that are words in neither language, and
// numbers.
bool SameInBothLanguages(const QString& text)
{
    static const QStringList names = {"OK",  "Preview", "?",  "www.krtdalmor.example", "KRT Dalmor's Photo Editor",
                                      "...", "XOR",     "AND"};
    static const QRegularExpression symbol("^[A-Za-z]=?$");
    if (names.contains(text) || symbol.match(text).hasMatch())
        return true;
    bool number = false;
    QString(text).remove('%').toDouble(&number); // value labels, zoom and transparency entries
    return number || text.trimmed().isEmpty();
}

// Every caption, hint and list entry of a window, by where it is. The main
// window's own texts are its menus (its other children are windows of their
// own); the text dialog's font list holds the fonts' names.
QMap<QString, QString> Texts(QWidget* window, const QString& name)
{
    const bool menusOnly = name == "TForm1";
    QMap<QString, QString> texts;
    texts[name + " caption"] = window->windowTitle();
    const QList<QObject*> objects = window->findChildren<QObject*>();
    for (QObject* object : objects) {
        const QString where = name + "->" + object->objectName();
        if (object->objectName().isEmpty() || object->objectName().startsWith("qt_"))
            continue;
        if (menusOnly && !qobject_cast<QMenu*>(object) && !qobject_cast<QAction*>(object))
            continue;
        if (name == "TAddText" && object->objectName() == "ComboBox1")
            continue;
        if (auto* label = qobject_cast<QLabel*>(object); label && label->textFormat() != Qt::RichText)
            texts[where] = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(object))
            texts[where] = button->text();
        else if (auto* box = qobject_cast<QGroupBox*>(object))
            texts[where] = box->title();
        else if (auto* menu = qobject_cast<QMenu*>(object))
            texts[where] = menu->title();
        else if (auto* action = qobject_cast<QAction*>(object); action && !action->isSeparator())
            texts[where] = action->text();
        if (auto* combo = qobject_cast<QComboBox*>(object))
            for (int i = 0; i < combo->count(); ++i)
                texts[where + QString("[%1]").arg(i)] = combo->itemText(i);
        if (auto* widget = qobject_cast<QWidget*>(object); widget && !widget->toolTip().isEmpty())
            texts[where + " hint"] = widget->toolTip();
    }
    return texts;
}

struct Started {
    explicit Started(Language language) : home(), s(language, DataPaths{home.Path(), KRT_SOURCE_DATA_DIR}) {}
    test::TempFolder home;
    test::Setup s;
};

} // namespace

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void everyVisibleTextChangesBetweenTheLanguages()
    {
        Started russian(Language::Russian), english(Language::English);
        const CaptionWindows ru = russian.s.window.Windows(), en = english.s.window.Windows();
        QCOMPARE(ru.keys(), en.keys());
        QStringList unchanged;
        int compared = 0;
        for (const QString& name : ru.keys()) {
            // The About box is English in both languages, as the product's own card.
            if (name == "TAboutBox")
                continue;
            const QMap<QString, QString> a = Texts(ru[name], name), b = Texts(en[name], name);
            for (auto it = a.begin(); it != a.end(); ++it) {
                // Record items carry the libraries' own names (which differ) and are data, not captions.
                if (it.key().contains("->Deformation") || it.key().contains("->Filter"))
                    continue;
                if (SameInBothLanguages(it.value()))
                    continue;
                ++compared;
                if (b.value(it.key()) == it.value())
                    unchanged << it.key() + " = \"" + it.value() + "\"";
            }
        }
        QVERIFY2(unchanged.isEmpty(), qPrintable("the same in both languages:\n" + unchanged.join('\n')));
        QVERIFY2(compared > 150, qPrintable(QString::number(compared)));
    }

    // Qt's own buttons speak the interface language too: the question that
    // Open asks before it drops unsaved changes.
    void qtsOwnButtonsSpeakTheInterfaceLanguage()
    {
        struct Case {
            Language language;
            QStringList buttons;
        };
        const Case cases[] = {
            {Language::Russian, {"&Да", "&Нет", "Отмена"}},
            {Language::English, {"&Yes", "&No", "Cancel"}},
        };
        for (const Case& c : cases) {
            Started started(c.language);
            started.s.editor.Document.ModifiedCount = 1;
            QStringList shown;
            test::WhenModal([&](QWidget* modal) {
                if (auto* box = qobject_cast<QMessageBox*>(modal))
                    for (QAbstractButton* button : box->buttons())
                        shown << button->text();
                QTest::keyClick(modal, Qt::Key_Escape);
            });
            started.s.window.Menu().Action("N2")->trigger();
            shown.sort();
            QStringList expected = c.buttons;
            expected.sort();
            QCOMPARE(shown, expected);
        }
    }
};

static const bool registered = RegisterUiTest<LanguageTest>();

#include "LanguageTest.moc"
