#include "app/ui/MainMenu.h"

#include "lang/WebLinks.h"

namespace krt {
namespace {

struct ItemDef {
    const char* parent; // "" for the menu bar
    const char* name;
    const char* caption; // "-" is a separator
    const char* shortcut;
    bool submenu;
};

// The design captions; the caption table of the language replaces them at start-up.
const ItemDef Items[] = {
    {"", "N1", "Файл", "", true},
    {"N1", "N22", "Создать", "Ctrl+N", false},
    {"N1", "N2", "Открыть", "Ctrl+O", false},
    {"N1", "N3", "Сохранить", "Ctrl+S", false},
    {"N1", "N4", "Сохранить, как", "", false},
    {"N1", "N46", "-", "", false},
    {"N1", "N47", "Печатать", "Ctrl+P", false},
    {"N1", "N44", "-", "", false},
    {"N1", "N19", "Сканировать", "", false},
    {"N1", "N20", "Выбрать источник", "", false},
    {"N1", "N45", "-", "", false},
    {"N1", "N5", "Выход", "", false},

    {"", "N6", "Редактирование", "", true},
    {"N6", "N26", "Отмена", "Ctrl+Z", false},
    {"N6", "N39", "-", "", false},
    {"N6", "N7", "Вырезать", "Ctrl+X", false},
    {"N6", "N8", "Скопировать", "Ctrl+C", false},
    {"N6", "N9", "Вставить", "Ctrl+V", false},
    {"N6", "N10", "Очистить", "Ctrl+D", false},
    {"N6", "N23", "Вставить, как новую картинку", "", false},
    {"N6", "N40", "-", "", false},
    {"N6", "N11", "Выделить всё", "Ctrl+A", false},
    {"N6", "N18", "Инвертировать выделение", "", false},
    {"N6", "N41", "-", "", false},
    {"N6", "Crop1", "Границы", "", false},
    {"N6", "N15", "Изменение размеров изображения", "", false},

    {"", "N27", "Эффекты", "", true},
    {"N27", "N28", "Стилизация, освещение", "", true},
    {"N28", "N16", "Кнопка", "", false},
    {"N28", "N17", "Облака", "", false},
    {"N28", "N35", "Барельеф", "", false},
    {"N27", "N29", "Деформация", "", true},
    {"N29", "N31", "Новая", "", false},
    {"N29", "N32", "Удалить", "", false},
    {"N29", "N42", "-", "", false},
    {"N27", "N30", "Трилинейные фильтры", "", true},
    {"N30", "N33", "Новый", "", false},
    {"N30", "N34", "Удалить", "", false},
    {"N30", "N43", "-", "", false},
    {"N27", "N24", "Цветокоррекция", "", true},
    {"N24", "N25", "Гамма коррекция", "", false},
    {"N24", "N38", "Светлость, цветность, контрастность", "", false},

    {"", "WebMenu", MakerSiteName, "", true},
    {"WebMenu", "N12", "Главная страница", "", false},
    {"WebMenu", "N14", "Послать деформацию на сервер", "", false},

    {"", "N21", "?", "", true},
    {"N21", "N36", "О программе", "", false},
    {"N21", "N37", "Помощь", "", false},
};

} // namespace

MainMenu BuildMainMenu(QMenuBar* bar)
{
    MainMenu result;
    for (const ItemDef& item : Items) {
        const QString name = QString::fromUtf8(item.name);
        const QString caption = QString::fromUtf8(item.caption);
        QMenu* parent = *item.parent ? result.menus.value(QString::fromUtf8(item.parent)) : nullptr;
        if (item.submenu) {
            QMenu* menu = parent ? parent->addMenu(caption) : bar->addMenu(caption);
            menu->setObjectName(name);
            result.menus.insert(name, menu);
            continue;
        }
        QAction* action = caption == QLatin1String("-") ? parent->addSeparator() : parent->addAction(caption);
        action->setObjectName(name);
        if (*item.shortcut)
            action->setShortcut(QKeySequence(QString::fromUtf8(item.shortcut)));
        if (!action->isSeparator())
            action->setEnabled(false);
        result.actions.insert(name, action);
    }
    return result;
}

} // namespace krt
