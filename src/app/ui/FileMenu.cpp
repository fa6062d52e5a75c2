#include "app/ui/FileMenu.h"

#include "core/ui/CommandBinder.h"

#include <QApplication>

namespace krt {

void BindFileMenu(QMenu* menu, FileCommands& files)
{
    BindCommands(menu, {
                           {"N22", [&files] { files.New(); }, {}},
                           {"N2", [&files] { files.Open(); }, {}},
                           {"N3", [&files] { files.Save(); }, [&files] { return files.SaveEnabled(); }},
                           {"N4", [&files] { files.SaveAs(); }, {}},
                           // Exit ends the program at once; unsaved changes are not asked about.
                           {"N5", [] { QApplication::quit(); }, {}},
                       });
}

} // namespace krt
