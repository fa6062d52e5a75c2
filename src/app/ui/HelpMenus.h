#pragma once

#include "core/DataPaths.h"
#include "lang/Language.h"

#include <QDialog>
#include <QMenu>

namespace krt {

// Binds the web menu's "Main page" ("N12") and the "?" menu's About ("N36",
// the About box shown modally) and Help ("N37", the help file of the
// interface language, opened by the desktop).
void BindHelpMenus(QMenu* webMenu, QMenu* helpMenu, Language language, const DataPaths& paths, QDialog* aboutBox);

} // namespace krt
