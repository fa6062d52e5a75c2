#pragma once

#include "document/Editor.h"

namespace krt {

// Saves the image as the newest of the five undo snapshots, reusing the
// oldest one's buffer when all five are taken. Nothing while the move tool
// is current (its block floats over a backup of its own).
void PushUndo(Editor& editor);
// Puts the newest snapshot back; false when there is none.
bool UndoLast(Editor& editor);

// BackupImage becomes a copy of the image, which counts as a change.
void SaveBackup(Editor& editor);
// The image gets BackupImage's pixels back and the change is taken back.
void RestoreBackup(Editor& editor);

} // namespace krt
