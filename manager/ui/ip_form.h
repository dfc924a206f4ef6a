// TIPForm: the address dialog of the address-book commands. "OK" (the default button) closes it with
// Yes, "Cancel" with No.
#pragma once

#include <QDialog>

class QPushButton;

namespace torvane::ui {

class TIPEdit;

class TIPForm final : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kWidth = 274;
    static constexpr int kHeight = 104;

    explicit TIPForm(QWidget* owner = nullptr);

    TIPEdit* IPEdit1() const { return edit_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

  private:
    TIPEdit* edit_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace torvane::ui
