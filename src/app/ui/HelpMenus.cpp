#include "app/ui/HelpMenus.h"

#include "core/ui/CommandBinder.h"
#include "lang/WebLinks.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace krt {
namespace {

void ShowMainPage(Language language)
{
    QDesktopServices::openUrl(QUrl(QString::fromStdString(HomePageAddress(language))));
}

void ShowHelp(Language language, const DataPaths& paths)
{
    const QString help = QString::fromStdString(paths.Program(HelpFileName(language)));
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(help).absoluteFilePath()));
}

} // namespace

void BindHelpMenus(QMenu* webMenu, QMenu* helpMenu, Language language, const DataPaths& paths, QDialog* aboutBox)
{
    BindCommands(webMenu, {{"N12", [language] { ShowMainPage(language); }, {}}});
    BindCommands(helpMenu, {
                               {"N36", [aboutBox] { aboutBox->exec(); }, {}},
                               {"N37", [language, paths] { ShowHelp(language, paths); }, {}},
                           });
}

} // namespace krt
