#include "ui/about_box.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>

#include "ui/text_codec.h"

namespace torvane::ui {
namespace {

constexpr int kPictureSide = 96;

QString PathText(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

}  // namespace

TAboutBox::TAboutBox(const std::filesystem::path& folder, QWidget* owner)
    : QDialog(owner), picture_(new QLabel(this)), readme_(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);

    picture_->setObjectName(QStringLiteral("ProgramIcon"));
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setMinimumSize(kPictureSide, kPictureSide);
    const QPixmap logo(PathText(folder / "logo.bmp"));
    if (!logo.isNull()) {
        picture_->setPixmap(
            logo.scaled(kPictureSide * 2, kPictureSide, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    } else {
        QFont big = picture_->font();
        big.setPixelSize(30);
        big.setBold(true);
        picture_->setFont(big);
        picture_->setText(QString::fromLatin1(kProgramName));
    }

    auto* name = new QLabel(QStringLiteral("%1 Device Manager").arg(QLatin1String(kProgramName)), this);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    auto* version = new QLabel(QString::fromLatin1(kVersionText), this);

    readme_->setObjectName(QStringLiteral("Comments"));
    readme_->setReadOnly(true);
    QFile file(PathText(folder / "readme.txt"));
    if (file.open(QIODevice::ReadOnly)) readme_->setPlainText(DisplayText(file.readAll().toStdString()));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(picture_, 0, 0, 2, 1);
    layout->addWidget(name, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(readme_, 2, 0, 1, 2);
    layout->addWidget(buttons, 3, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    resize(420, 320);
}

}  // namespace torvane::ui
