// TIPEdit: entry of an IPv4 address in four octet fields separated by dots. Each field takes up to
// three digits with a value from 0 to 255; "." or a third digit moves on to the next field. An empty
// field counts as 0.
#pragma once

#include <QFrame>
#include <QValidator>
#include <array>

class QLineEdit;

namespace torvane::ui {

// Accepts an empty text (while typing) and decimal numbers from 0 to 255 of at most three digits.
class OctetValidator final : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

class TIPEdit final : public QFrame {
    Q_OBJECT
  public:
    explicit TIPEdit(QWidget* parent = nullptr);

    // The dotted address, each field as a number ("10.0.0.7"; an empty field gives 0).
    QString Text() const;
    // Fills the fields from a dotted text: a group that is no octet, and every missing group, gives 0.
    void SetText(const QString& text);
    QLineEdit* Field(int i) const { return fields_[static_cast<size_t>(i)]; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FocusField(int i);
    std::array<QLineEdit*, 4> fields_{};
};

}  // namespace torvane::ui
