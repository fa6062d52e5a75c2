#include "recovery/ui/RestoreQuestion.h"

#include "core/OwnMessages.h"
#include "core/Product.h"
#include "core/ui/RunGuarded.h"

#include <QDateTime>
#include <QLocale>
#include <QMessageBox>
#include <QStringList>

#include <filesystem>
#include <string>
#include <vector>

namespace krt {
namespace {

constexpr OwnMessage NotSaved{"\u201C{1}\u201D was not saved when the editor closed ({2}). Restore it?",
                              "\u00AB{1}\u00BB не был сохранён, когда редактор закрылся ({2}). Восстановить?"};
constexpr OwnMessage NewPicture{"New picture", "Новый рисунок"};
constexpr OwnMessage Damaged{"A recovery copy could not be read and was moved to \"{1}\":\n{2}",
                             "Копию для восстановления не удалось прочитать, она перемещена в \"{1}\":\n{2}"};

QString Question(const RecoveryCopy& copy)
{
    const std::string name =
        copy.fileName.empty() ? Say(NewPicture) : std::filesystem::path(copy.fileName).filename().string();
    const bool russian = MessageLanguage() == Language::Russian;
    const QDateTime when = QDateTime::fromSecsSinceEpoch(copy.time);
    const QString time = QLocale(russian ? QLocale::Russian : QLocale::English).toString(when, QLocale::ShortFormat);
    return QString::fromStdString(Say(NotSaved, {name, time.toStdString()}));
}

void ReportDamaged(const RecoveryStore& store, const std::vector<std::string>& problems, QWidget* parent)
{
    if (problems.empty())
        return;
    std::string list;
    for (const std::string& problem : problems)
        list += (list.empty() ? "" : "\n") + problem;
    QMessageBox::warning(parent, QString::fromUtf8(ProductTitle),
                         QString::fromStdString(Say(Damaged, {(store.Folder() / "discarded").string(), list})));
}

} // namespace

std::optional<RestoredCopy> OfferRecovery(RecoveryStore& store, QWidget* parent)
{
    RecoveryFindings found = store.FindLeftovers();
    std::vector<std::string> damaged = std::move(found.damaged);
    std::optional<RestoredCopy> restored;
    for (const RecoveryCopy& copy : found.copies) {
        const auto answer = QMessageBox::question(parent, QString::fromUtf8(ProductTitle), Question(copy),
                                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        if (answer != QMessageBox::Yes) {
            store.Discard(copy);
            continue;
        }
        RestoredCopy chosen{TFastBMP(), copy};
        try {
            store.Load(copy, chosen.picture, &chosen.copy.exif);
            store.Adopt(copy);
        } catch (const std::exception& e) {
            damaged.push_back(e.what());
            store.Discard(copy);
            continue;
        }
        restored = std::move(chosen);
        break;
    }
    ReportDamaged(store, damaged, parent);
    return restored;
}

} // namespace krt
