#include "effects/ui/EffectDialog.h"

#include "core/ui/RunGuarded.h"
#include "document/Undo.h"

#include <QFrame>

namespace krt {

EffectDialog::EffectDialog(Editor& ed, const char* objectName, const char* caption, QSize size,
                           std::optional<PreviewPlace> place, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), editor(ed)
{
    setObjectName(objectName);
    setWindowTitle(QString::fromUtf8(caption));
    setFixedSize(size);
    if (place) {
        auto* bevel = new QFrame(this);
        bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
        bevel->setGeometry(place->box.adjusted(-1, -1, 1, 1));
        previewBox = new BufferView(this);
        previewBox->setObjectName(place->objectName);
        previewBox->setGeometry(place->box);
        fitted.emplace(place->box.width(), place->box.height());
    }
    button1 = new QPushButton("OK", this);
    button1->setObjectName("Button1");
    button1->setDefault(true);
    button2 = new QPushButton(QString::fromUtf8("Отмена"), this);
    button2->setObjectName("Button2");
    connect(button1, &QPushButton::clicked, this, [this] { RunGuarded([this] { ApplyAndClose(); }); });
    connect(button2, &QPushButton::clicked, this, &QDialog::reject);
}

void EffectDialog::PlaceButtons(int x, int y)
{
    button1->setGeometry(x, y, 75, 25);
    button2->setGeometry(x + 83, y, 75, 25);
    // Tab reaches the dialog's own controls first, then "OK" and "Отмена".
    if (QWidget* last = previousInFocusChain(); last != button2) {
        setTabOrder(last, button1);
        setTabOrder(button1, button2);
    }
}

bool EffectDialog::Open(TFastBMP& into, const TFastBMP& from)
{
    dialogOK = false;
    openedTarget = &into;
    openedSource = &from;
    Opening();
    if (fitted)
        fitted->Prepare(into);
    RedrawPreview();
    exec();
    openedTarget = nullptr;
    openedSource = nullptr;
    return dialogOK;
}

void EffectDialog::RedrawPreview()
{
    if (!fitted || !openedTarget)
        return;
    fitted->Reset();
    DrawPreview(*fitted);
    previewBox->Show(fitted->Box());
}

void EffectDialog::ApplyAndClose()
{
    if (!openedTarget)
        return;
    PushUndo(editor);
    Apply(*openedTarget, *openedSource);
    dialogOK = true;
    accept();
}

} // namespace krt
