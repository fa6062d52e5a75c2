#pragma once

#include "lang/Language.h"

namespace krt {

// Qt's own texts (the standard buttons "Да", "Нет", "Отмена", the file,
// input and print dialogs) in the interface language: the Russian interface
// loads Qt's Russian translation, the English one keeps Qt's English. False
// when the translation is not installed (Qt then speaks English).
bool UseQtTexts(Language language);

} // namespace krt
