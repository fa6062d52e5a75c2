#pragma once

#include <QAction>
#include <QMenu>
#include <QObject>

#include <functional>
#include <string>
#include <vector>

namespace krt {

// The items a library submenu holds after its fixed ones: one per record, in
// slot order, named Prefix0, Prefix1, ...; a click runs the command of its
// slot (guarded, so an error shows as a message). Rebuilt in full after every
// change of the library.
class RecordItems : public QObject {
    Q_OBJECT
public:
    RecordItems(QMenu* menu, QString objectPrefix, std::function<void(int slot)> click);

    void Rebuild(const std::vector<std::string>& captions);
    // The item of a slot, or none.
    QAction* Item(int slot) const;

private:
    QMenu* menu;
    QString prefix;
    std::function<void(int)> command;
    std::vector<QAction*> items;
};

} // namespace krt
