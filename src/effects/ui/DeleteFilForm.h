#pragma once

#include "core/ui/ListChoiceDialog.h"

namespace krt {

// The filter deletion dialog: the user's own filters by name; "Удалить"
// deletes the chosen one and closes. Built-in filters are not offered.
class TDeleteFilForm : public ListChoiceDialog {
    Q_OBJECT
public:
    explicit TDeleteFilForm(QWidget* parent = nullptr)
        : ListChoiceDialog("DeleteFilForm", "Удал. фильтр", "Удалить", QSize(183, 51), false, parent)
    {}
};

} // namespace krt
