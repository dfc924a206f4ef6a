#include "ui/params/form_login.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace torvane::ui {

TFormLogin::TFormLogin(QWidget* owner)
    : QDialog(owner, kFixedDialogFlags),
      label1_(new QLabel(QStringLiteral("Username:"), this)),
      label2_(new QLabel(QStringLiteral("Password:"), this)),
      edit1_(new QLineEdit(QString::fromLatin1(kLoginUserName), this)),
      edit2_(new QLineEdit(QString::fromLatin1(kLoginPassword), this)),
      button1_(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("FormLogin"));
    setWindowTitle(QString::fromLatin1(kLoginCaption));
    setFixedSize(kWidth, kHeight);
    setModal(true);
    for (auto* edit : {edit1_, edit2_}) {
        edit->setMaxLength(kLoginMaxLength);
        // The texts and their NUL fit the login record; "|" would end a first-generation command early.
        edit->setValidator(new CredentialValidator(edit));
    }
    edit2_->setEchoMode(QLineEdit::Password);
    edit2_->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // "*"
    label1_->setGeometry(24, 18, 80, 22);
    edit1_->setGeometry(108, 16, 168, 24);
    label2_->setGeometry(24, 50, 80, 22);
    edit2_->setGeometry(108, 48, 168, 24);
    button1_->setGeometry(110, 84, 80, 28);
    button1_->setDefault(true);
    connect(button1_, &QPushButton::clicked, this, &TFormLogin::Button1Click);
}

QValidator::State CredentialValidator::validate(QString& input, int&) const {
    return CheckCredential(input.toStdString()).ok ? Acceptable : Invalid;
}

Credentials TFormLogin::Typed() const {
    return {CheckCredential(edit1_->text().toStdString()).bytes,
            CheckCredential(edit2_->text().toStdString()).bytes};
}

void TFormLogin::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edit2_->setFocus();
}

void TFormLogin::Button1Click() {
    accept();
}

}  // namespace torvane::ui
