#include "app/ui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace krt {

bool UseQtTexts(Language language)
{
    static QTranslator* russian = nullptr;
    if (language != Language::Russian) {
        if (russian)
            QCoreApplication::removeTranslator(russian);
        return true;
    }
    if (!russian) {
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (!translator->load("qtbase_ru", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            delete translator;
            return false;
        }
        russian = translator;
    }
    return QCoreApplication::installTranslator(russian);
}

} // namespace krt
