#include "document/ui/EffectDialog.h"

#include "core/ui/RunGuarded.h"

namespace krt {

EffectDialog::EffectDialog(const char* objectName, const char* caption, QSize size, std::optional<PreviewPlace> place,
                           QWidget* parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    setObjectName(objectName);
    setWindowTitle(QString::fromUtf8(caption));
    setFixedSize(size);
    if (place) {
        previewFrame = new QFrame(this);
        previewFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
        previewBox = new BufferView(this);
        previewBox->setObjectName(place->objectName);
        PlacePreview(place->box);
        fitted.emplace(place->box.width(), place->box.height());
    }
    button1 = new QPushButton("OK", this);
    button1->setObjectName("Button1");
    button1->setDefault(true);
    button2 = new QPushButton(QString::fromUtf8("Отмена"), this);
    button2->setObjectName("Button2");
    connect(button1, &QPushButton::clicked, this, [this] { RunGuarded([this] { OkClicked(); }); });
    connect(button2, &QPushButton::clicked, this, &QDialog::reject);
}

void EffectDialog::PlaceButtons(int x, int y, QSize size, int gap)
{
    button1->setGeometry(x, y, size.width(), size.height());
    button2->setGeometry(x + size.width() + gap, y, size.width(), size.height());
    // Tab reaches the dialog's own controls first, then "OK" and "Отмена".
    if (QWidget* last = previousInFocusChain(); last != button2) {
        setTabOrder(last, button1);
        setTabOrder(button1, button2);
    }
}

void EffectDialog::PlacePreview(QRect box)
{
    previewFrame->setGeometry(box.adjusted(-1, -1, 1, 1));
    previewBox->setGeometry(box);
}

bool EffectDialog::Open(TFastBMP& into, const TFastBMP& from, const Confirm& confirmed)
{
    applied = false;
    openedTarget = &into;
    openedSource = &from;
    confirm = confirmed;
    Opening();
    if (fitted)
        fitted->Prepare(into);
    RedrawPreview();
    exec();
    openedTarget = nullptr;
    openedSource = nullptr;
    confirm = nullptr;
    return applied;
}

void EffectDialog::RedrawPreview()
{
    if (!fitted || !openedTarget)
        return;
    fitted->Reset();
    DrawPreview(*fitted);
    previewBox->Show(fitted->Box());
}

void EffectDialog::Commit()
{
    if (confirm)
        confirm();
    applied = true;
}

void EffectDialog::OkClicked()
{
    if (!openedTarget)
        return;
    Commit();
    Apply(*openedTarget, *openedSource);
    accept();
}

} // namespace krt
