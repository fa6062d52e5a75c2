#pragma once

#include "document/EditorSettings.h"

#include <QComboBox>
#include <QLabel>
#include <QWidget>

#include <array>
#include <functional>

namespace krt {

// The brush options: type (mode), shape, size and transparency.
class TOptForm : public QWidget {
    Q_OBJECT
public:
    explicit TOptForm(EditorSettings& settings, QWidget* parent = nullptr);

    // Enables the groups a tool uses (ToolOptions flags).
    void EnableOptions(unsigned options);
    QComboBox* TypeList() const { return type; }
    QComboBox* ShapeList() const { return shape; }
    QComboBox* SizeList() const { return size; }
    QComboBox* TransparencyList() const { return transparency; }

    // A new transparency was taken (a floating text shows it at once).
    std::function<void()> onTransparencyChanged;

private:
    QComboBox* AddGroup(int column, const char* labelName, const QString& heading, const char* listName);
    void TakeTransparency();

    EditorSettings& settings;
    QComboBox* type = nullptr;
    QComboBox* shape = nullptr;
    QComboBox* size = nullptr;
    QComboBox* transparency = nullptr;
    std::array<QLabel*, 4> headings{};
};

} // namespace krt
