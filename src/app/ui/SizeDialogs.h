#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace krt {

// What the new-image and resize dialogs hand back, shared by both.
struct SizeDialogResults {
    int newWidth = 0;
    int newHeight = 0;
    bool cancelled = true;
    bool changePicture = true; // resize dialog only
    bool smoothing = false;    // resize dialog only
};

// The two size dialogs share their boxes and rules: blanks around a number are
// ignored, Enter in the height box confirms, sizes that cannot be an image
// keep the dialog open with a message.
class SizeDialog : public QDialog {
    Q_OBJECT
public:
    SizeDialog(SizeDialogResults& results, int top, QWidget* parent);

    QLineEdit* WidthEdit() const { return widthEdit; }
    QLineEdit* HeightEdit() const { return heightEdit; }
    QPushButton* ConfirmButton() const { return confirm; }
    QPushButton* CancelButton() const { return cancel; }
    // Shows the dialog modally; true when it was confirmed.
    bool Ask();
    SizeDialogResults& Results() const { return results; }

protected:
    void Confirm();
    virtual void TakeExtras() {}

    SizeDialogResults& results;
    QLabel* widthLabel = nullptr;
    QLabel* heightLabel = nullptr;
    QLineEdit* widthEdit = nullptr;
    QLineEdit* heightEdit = nullptr;
    QPushButton* confirm = nullptr;
    QPushButton* cancel = nullptr;
};

class TNewImage : public SizeDialog {
    Q_OBJECT
public:
    TNewImage(SizeDialogResults& results, QWidget* parent = nullptr);
};

class TImgResize : public SizeDialog {
    Q_OBJECT
public:
    TImgResize(SizeDialogResults& results, QWidget* parent = nullptr);
    // Shows the current size first.
    bool Ask(int width, int height);
    QCheckBox* ChangePicture() const { return changePicture; }
    QCheckBox* Smoothing() const { return smoothing; }

protected:
    void TakeExtras() override;

private:
    QCheckBox* changePicture = nullptr;
    QCheckBox* smoothing = nullptr;
};

} // namespace krt
