#include "app/ui/EditMenu.h"

#include "core/ui/CommandBinder.h"

namespace krt {

void BindEditMenu(QMenu* menu, EditCommands& edits)
{
    EditCommands* e = &edits;
    const auto undo = [e] { return e->MenuState().undo; };
    const auto paste = [e] { return e->MenuState().paste; };
    const auto selection = [e] { return e->MenuState().selection; };
    BindCommands(menu, {
                           {"N26", [e] { e->Undo(); }, undo},
                           {"N7", [e] { e->Cut(); }, selection},
                           {"N8", [e] { e->Copy(); }, selection},
                           {"N9", [e] { e->Paste(); }, paste},
                           {"N10", [e] { e->Clear(); }, selection},
                           {"N23", [e] { e->PasteAsNewImage(); }, paste},
                           {"N11", [e] { e->SelectAll(); }, {}},
                           {"N18", [e] { e->InvertSelection(); }, {}},
                           {"Crop1", [e] { e->Crop(); }, selection},
                           {"N15", [e] { e->Resize(); }, {}},
                       });
}

} // namespace krt
