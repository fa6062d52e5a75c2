#include "core/ui/RecordItems.h"

#include "core/ui/RunGuarded.h"

namespace krt {

RecordItems::RecordItems(QMenu* owner, QString objectPrefix, std::function<void(int slot)> click)
    : QObject(owner), menu(owner), prefix(std::move(objectPrefix)), command(std::move(click))
{}

void RecordItems::Rebuild(const std::vector<std::string>& captions)
{
    for (QAction* item : items)
        delete item;
    items.clear();
    for (std::size_t slot = 0; slot < captions.size(); ++slot) {
        QAction* item = menu->addAction(QString::fromStdString(captions[slot]));
        item->setObjectName(prefix + QString::number(slot));
        connect(item, &QAction::triggered, this,
                [this, slot] { RunGuarded([this, slot] { command(static_cast<int>(slot)); }); });
        items.push_back(item);
    }
}

QAction* RecordItems::Item(int slot) const
{
    return slot >= 0 && slot < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(slot)] : nullptr;
}

} // namespace krt
