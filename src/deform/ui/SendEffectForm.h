#pragma once

#include "core/ui/ListChoiceDialog.h"

namespace krt {

// The publishing dialog: every deformation by name, built-in and own;
// "Послать" sends the chosen one and the dialog stays open for more.
class TSendEffectForm : public ListChoiceDialog {
    Q_OBJECT
public:
    explicit TSendEffectForm(QWidget* parent = nullptr)
        : ListChoiceDialog("SendEffectForm", "Послать деф.", "Послать", QSize(184, 50), true, parent)
    {}
};

} // namespace krt
