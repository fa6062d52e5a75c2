#pragma once

#include "lang/Language.h"

#include <QDialog>

namespace krt {

// The About box: picture, product name, version, makers and the links.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(Language language, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Language language;
    QWidget* picture = nullptr;
    QWidget* productName = nullptr;
};

// The About box's picture, drawn by the program: a swirled colour wheel.
QPixmap MakeAboutPicture(int size);

} // namespace krt
