#include "app/ui/FileMenu.h"

#include "core/ui/CommandBinder.h"

namespace krt {

void BindFileMenu(QMenu* menu, FileCommands& files, FileMenuWindows windows)
{
    BindCommands(menu, {
                           {"N22", [&files] { files.New(); }, {}},
                           {"N2", [&files] { files.Open(); }, {}},
                           {"N3", [&files] { files.Save(); }, [&files] { return files.SaveEnabled(); }},
                           {"N4", [&files] { files.SaveAs(); }, {}},
                           {"N47", windows.print, {}},
                           {"N19", [&files, acquire = windows.acquire] { files.Scan(acquire); }, {}},
                           {"N20", windows.selectSource, {}},
                           {"N5", windows.exit, {}},
                       });
}

} // namespace krt
