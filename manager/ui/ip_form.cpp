#include "ui/ip_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/address_book.h"
#include "ui/ip_edit.h"

namespace torvane::ui {

TIPForm::TIPForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      edit_(new TIPEdit(this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("IPForm"));
    setWindowTitle(QString::fromLatin1(kAddDialogCaption));
    setFixedSize(kWidth, kHeight);
    setModal(true);

    auto* label = new QLabel(QStringLiteral("IP Adress"), this);
    label->setGeometry(16, 20, 64, 22);
    edit_->setGeometry(84, 18, 172, 26);
    edit_->SetText(QString::fromLatin1(kAddDialogInitialText));
    ok_->setGeometry(60, 62, 80, 28);
    cancel_->setGeometry(150, 62, 80, 28);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    edit_->Field(0)->setFocus();  // typing starts in the first field, its text selected
}

}  // namespace torvane::ui
