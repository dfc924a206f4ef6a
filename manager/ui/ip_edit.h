// TIPEdit: entry of an IPv4 address in four octet fields separated by dots. Each field takes up to
// three digits with a value from 0 to 255. A whole address can be typed in one go, with or without
// the dots: a field's text is selected when it gains focus (so typing replaces it), a third digit
// moves on to the next field, "." moves on as well (and one typed right after such an automatic move
// is swallowed, so that "192.168..." does not skip a field), Backspace at a field's start goes back
// to the end of the previous one, and pasting "a.b.c.d" fills all four fields. An empty field
// counts as 0.
#pragma once

#include <QFrame>
#include <QValidator>
#include <array>

class QLineEdit;
class QKeyEvent;

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
    int IndexOf(const QObject* field) const;       // -1 for anything else
    bool KeyPressed(int i, const QKeyEvent& key);  // true: the key was handled here
    void Paste(int i);
    void ShowContextMenu(int i, const QPoint& global_pos);
    void FocusField(int i);     // with its text selected
    void FocusFieldEnd(int i);  // cursor after its last digit, nothing selected
    std::array<QLineEdit*, 4> fields_{};
    int advanced_to_ = -1;  // the field just reached by a third digit, until its next key
};

}  // namespace torvane::ui
