#pragma once

#include "lang/CaptionTables.h"

#include <QHash>
#include <QStringList>
#include <QWidget>

#include <span>

namespace krt {

// The editor's windows by class name, as the caption tables name them.
using CaptionWindows = QHash<QString, QWidget*>;

// Runs the window entries of a caption table (message entries are the
// engine's). Returns a description of every entry whose window or control
// does not exist, which is empty when the table and the windows agree.
QStringList ApplyCaptions(std::span<const CaptionEntry> table, const CaptionWindows& windows);

} // namespace krt
