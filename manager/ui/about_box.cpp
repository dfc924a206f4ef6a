#include "ui/about_box.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>

#include "core/input_file.h"
#include "ui/text_codec.h"

namespace torvane::ui {
namespace {

constexpr int kPictureSide = 96;
constexpr std::uintmax_t kReadmeLimit = 1u << 20;
constexpr std::uintmax_t kLogoLimit = 16u << 20;

// The file's bytes; empty when it is missing. A file that cannot be read adds its reason to `problems`.
std::string ReadOptionalFile(const std::filesystem::path& path, std::uintmax_t limit, std::string& problems) {
    const InputFile file = ReadInputFile(path, limit);
    if (file.state == InputFile::State::kUnreadable) problems += UnreadableMessage(path, file) + "\n";
    return file.bytes;
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
    std::string problems;
    const std::string logo_bytes = ReadOptionalFile(folder / "logo.bmp", kLogoLimit, problems);
    QPixmap logo;
    if (!logo_bytes.empty())
        logo.loadFromData(reinterpret_cast<const uchar*>(logo_bytes.data()),
                          static_cast<uint>(logo_bytes.size()));
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
    const std::string readme = ReadOptionalFile(folder / "readme.txt", kReadmeLimit, problems);
    readme_->setPlainText(QString::fromStdString(problems) + DisplayText(readme));  // paths are UTF-8

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
