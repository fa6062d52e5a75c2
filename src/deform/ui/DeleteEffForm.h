#pragma once

#include "core/ui/ListChoiceDialog.h"

namespace krt {

// The deletion dialog: the user's own deformations by name; "Удалить"
// deletes the chosen one and closes.
class TDeleteEffForm : public ListChoiceDialog {
    Q_OBJECT
public:
    explicit TDeleteEffForm(QWidget* parent = nullptr)
        : ListChoiceDialog("DeleteEffForm", "Выберите эффект", "Удалить", QSize(183, 51), false, parent)
    {}
};

} // namespace krt
