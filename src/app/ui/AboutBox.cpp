#include "app/ui/AboutBox.h"

#include "core/Product.h"
#include "lang/WebLinks.h"

#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include <cmath>

namespace krt {
namespace {

QLabel* LinkLabel(const QString& text, const QString& url, QWidget* parent)
{
    auto* label = new QLabel(QString("<a href=\"%1\">%2</a>").arg(url, text.toHtmlEscaped()), parent);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    label->setOpenExternalLinks(true);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

} // namespace

QPixmap MakeAboutPicture(int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    const double c = (size - 1) / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = x - c;
            const double dy = y - c;
            const double r = std::sqrt(dx * dx + dy * dy) / c;
            // A swirl: the angle turns further the nearer the centre.
            const double angle = std::atan2(dy, dx) + 3.0 * (1.0 - r);
            const int hue = static_cast<int>((angle + M_PI) / (2 * M_PI) * 360.0 * 2) % 360;
            const int value = r > 1.0 ? 40 : static_cast<int>(255 - 60 * r);
            image.setPixel(x, y, QColor::fromHsv((hue + 360) % 360, r > 1.0 ? 0 : 200, value).rgb());
        }
    }
    return QPixmap::fromImage(image);
}

TAboutBox::TAboutBox(Language lang, QWidget* parent) : QDialog(parent), language(lang)
{
    setObjectName("AboutBox");
    setWindowTitle("About");
    setFixedSize(298, 213);

    auto* panel = new QFrame(this);
    panel->setObjectName("Panel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(8, 8, 282, 161);

    auto* pictureFrame = new QLabel(panel);
    pictureFrame->setObjectName("ProgramIcon");
    pictureFrame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    pictureFrame->setGeometry(8, 8, 104, 104);
    pictureFrame->setAlignment(Qt::AlignCenter);
    pictureFrame->setPixmap(MakeAboutPicture(100));
    pictureFrame->setCursor(Qt::PointingHandCursor);
    pictureFrame->installEventFilter(this);
    picture = pictureFrame;

    auto* product = new QLabel(QString::fromUtf8(ProductTitle), panel);
    product->setObjectName("ProductName");
    product->setGeometry(120, 12, 156, 20);
    product->setCursor(Qt::PointingHandCursor);
    product->installEventFilter(this);
    productName = product;

    auto* version = new QLabel(QString("Version %1").arg(ProductVersion), panel);
    version->setObjectName("Version");
    QFont big = version->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    version->setFont(big);
    version->setAlignment(Qt::AlignCenter);
    version->setGeometry(120, 40, 156, 28);

    auto* copyright = new QLabel(QString::fromUtf8("© 2026 KRT Dalmor"), panel);
    copyright->setObjectName("Copyright");
    copyright->setGeometry(8, 118, 266, 16);

    auto* mail = LinkLabel(QString::fromUtf8(MakerContactMail), QString::fromStdString(ContactMailLink()), panel);
    mail->setObjectName("Comments");
    mail->setGeometry(120, 76, 156, 16);
    auto* home = LinkLabel(QString::fromUtf8(MakerSiteName), QString::fromStdString(HomePageAddress(language)), panel);
    home->setObjectName("HomePage");
    home->setGeometry(120, 94, 156, 16);

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    ok->setGeometry(111, 177, 75, 27);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == picture || watched == productName) && event->type() == QEvent::MouseButtonRelease) {
        QDesktopServices::openUrl(QUrl(QString::fromStdString(GalleryAddress())));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace krt
