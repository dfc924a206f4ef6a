#include "ui/update/form_rate.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

namespace torvane::ui {

TFormRate::TFormRate(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      label_(new QLabel(QStringLiteral("Information"), this)),
      progress_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("FormRate"));
    setWindowTitle(QStringLiteral("Update,Please waitting..."));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kClientWidth, kClientHeight);
    label_->setObjectName(QStringLiteral("Label1"));
    label_->setGeometry(16, 20, kLabelWidth, 17);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setGeometry(16, 52, kClientWidth - 32, 20);
    progress_->setRange(0, 100);
    progress_->setValue(0);
}

void TFormRate::ShowCentred() {
    QRect area;
    if (const QWidget* owner = parentWidget(); owner && owner->isVisible()) {
        area = owner->frameGeometry();
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    QRect r(QPoint(), size());
    r.moveCenter(area.center());
    move(r.topLeft());
    show();
    raise();
}

}  // namespace torvane::ui
