// TWaitForm: the small window that shows what the searches are doing, a text line over a progress
// bar. A tool window that stays on top, centred on the screen; created hidden with the main window and
// kept until the program ends.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

namespace torvane::ui {

class TWaitForm final : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 364;
    static constexpr int kHeight = 71;

    explicit TWaitForm(QWidget* owner = nullptr);

    void SetText(const QString& text);
    QString Text() const;
    QProgressBar* ProgressBar() const { return progress_; }
    QLabel* Label() const { return label_; }

    void ShowCentred();  // shows it (when hidden) in the centre of the screen

  private:
    QLabel* label_;
    QProgressBar* progress_;
};

}  // namespace torvane::ui
