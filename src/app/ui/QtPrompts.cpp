#include "app/ui/QtPrompts.h"

#include "app/FileCommands.h"
#include "app/ui/SizeDialogs.h"
#include "core/Product.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace krt {

QStringList NameFilters(const char* filter)
{
    const QStringList parts = QString::fromUtf8(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        // Qt takes the patterns from the parentheses, separated by blanks.
        const int open = description.lastIndexOf('(');
        if (open >= 0)
            description = description.left(open).trimmed();
        filters << description + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    }
    return filters;
}

Answer QtPrompts::AskYesNoCancel(const std::string& text)
{
    const auto button = QMessageBox::question(parent, QString::fromUtf8(ProductTitle), QString::fromStdString(text),
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    return button == QMessageBox::Yes ? Answer::Yes : button == QMessageBox::No ? Answer::No : Answer::Cancel;
}

std::optional<std::string> QtPrompts::AskText(const std::string& title, const std::string& prompt,
                                              const std::string& proposal)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, QString::fromStdString(title), QString::fromStdString(prompt),
                                               QLineEdit::Normal, QString::fromStdString(proposal), &ok);
    if (!ok)
        return std::nullopt;
    return text.toStdString();
}

std::optional<std::string> QtPrompts::ChooseFileToOpen(const std::string& lastPath)
{
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(NameFilters(OpenDialogFilter()));
    if (!lastPath.empty())
        dialog.selectFile(QString::fromStdString(lastPath));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::optional<std::string> QtPrompts::ChooseFileToSave(const std::string& lastPath, int& filterIndex)
{
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const QStringList filters = NameFilters(SaveDialogFilter());
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(filterIndex - 1));
    if (!lastPath.empty())
        dialog.setDirectory(QFileInfo(QString::fromStdString(lastPath)).absolutePath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return dialog.selectedFiles().first().toStdString();
}

bool QtPrompts::AskYesNo(const std::string& text)
{
    return QMessageBox::question(parent, QString::fromUtf8(ProductTitle), QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<ResizeRequest> QtPrompts::AskResize(int width, int height)
{
    const SizeDialogResults& results = imgResize->Results();
    if (!imgResize->Ask(width, height))
        return std::nullopt;
    return ResizeRequest{results.newWidth, results.newHeight, results.changePicture, results.smoothing};
}

std::optional<ImageSize> QtPrompts::AskNewImageSize()
{
    SizeDialogResults& results = newImage->Results();
    if (!newImage->Ask())
        return std::nullopt;
    return ImageSize{results.newWidth, results.newHeight};
}

} // namespace krt
