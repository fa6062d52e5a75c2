#pragma once

#include <QComboBox>
#include <QDialog>
#include <QPushButton>

#include <functional>
#include <string>
#include <vector>

namespace krt {

// A small dialog with a list of names (ComboBox1), an action button (Button1)
// and "Отмена" (Button2), without title-bar buttons: the deletion and
// publishing dialogs. The action gets the chosen entry's index (none when the
// list is empty); the dialog then closes, or stays open when `staysOpen`.
class ListChoiceDialog : public QDialog {
    Q_OBJECT
public:
    ListChoiceDialog(const char* objectName, const char* caption, const char* action, QSize size, bool staysOpen,
                     QWidget* parent = nullptr);

    // Fills the list, selects the first entry and shows the dialog modally.
    void Choose(const std::vector<std::string>& names, std::function<void(int index)> act);

    QComboBox* List() const { return comboBox1; }
    QPushButton* ActionButton() const { return button1; }
    QPushButton* CancelButton() const { return button2; }

private:
    void Button1Click();

    bool staysOpen;
    QComboBox* comboBox1 = nullptr;
    QPushButton* button1 = nullptr;
    QPushButton* button2 = nullptr;
    std::function<void(int)> action;
};

} // namespace krt
