#include "app/ui/FileMenu.h"

#include "core/ui/CommandBinder.h"

namespace krt {

void BindFileMenu(QMenu* menu, FileCommands& files, std::function<void()> print, std::function<void()> exit)
{
    BindCommands(menu, {
                           {"N22", [&files] { files.New(); }, {}},
                           {"N2", [&files] { files.Open(); }, {}},
                           {"N3", [&files] { files.Save(); }, [&files] { return files.SaveEnabled(); }},
                           {"N4", [&files] { files.SaveAs(); }, {}},
                           {"N47", print, {}},
                           {"N5", exit, {}},
                       });
}

} // namespace krt
