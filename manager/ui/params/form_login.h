// TFormLogin: the dialog that asks for a user name and a password when a device refuses the empty
// ones. It always starts with its designed texts; its result is not looked at: however it is closed,
// the texts of the two boxes are taken.
#pragma once

#include <QDialog>
#include <QValidator>

#include "core/credentials.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace torvane::ui {

inline constexpr const char* kLoginCaption = "Input the username and password";
inline constexpr const char* kLoginUserName = "admin";
inline constexpr const char* kLoginPassword = "73915026";
inline constexpr int kLoginMaxLength = 9;

// A dialog of fixed size: a title and a close button, nothing to minimise or maximise.
inline constexpr Qt::WindowFlags kFixedDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint |
                                                     Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                                     Qt::MSWindowsFixedSizeDialogHint;

// Takes what a user name or password may be: at most nine device bytes, no "|".
class CredentialValidator final : public QValidator {
    Q_OBJECT
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

class TFormLogin final : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kWidth = 300;
    static constexpr int kHeight = 124;

    explicit TFormLogin(QWidget* owner = nullptr);

    QLabel* Label1() const { return label1_; }
    QLabel* Label2() const { return label2_; }
    QLineEdit* Edit1() const { return edit1_; }
    QLineEdit* Edit2() const { return edit2_; }
    QPushButton* Button1() const { return button1_; }
    // The texts of the two boxes as device bytes.
    Credentials Typed() const;

  public slots:
    void Button1Click();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLabel* label1_;
    QLabel* label2_;
    QLineEdit* edit1_;
    QLineEdit* edit2_;
    QPushButton* button1_;
};

}  // namespace torvane::ui
