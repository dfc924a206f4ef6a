#include "ui/wait_form.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace torvane::ui {

TWaitForm::TWaitForm(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      label_(new QLabel(QStringLiteral("Updating the device list,Please wait..."), this)),
      progress_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("WaitForm"));
    setFixedSize(kWidth, kHeight);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->addWidget(label_);
    layout->addWidget(progress_);
}

void TWaitForm::SetText(const QString& text) {
    label_->setText(text);
}

QString TWaitForm::Text() const {
    return label_->text();
}

void TWaitForm::ShowCentred() {
    if (isVisible()) return;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r(QPoint(), size());
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
    show();
}

}  // namespace torvane::ui
