#pragma once

#include "core/ui/ListChoiceDialog.h"

namespace krt {

// "Выбрать источник": the scanners the scanner service finds, by name; the
// chosen one is used for later scans.
class TSourceForm : public ListChoiceDialog {
    Q_OBJECT
public:
    explicit TSourceForm(QWidget* parent = nullptr)
        : ListChoiceDialog("SourceForm", "Выбор источника", "Выбрать", QSize(330, 51), false, parent)
    {}
};

} // namespace krt
