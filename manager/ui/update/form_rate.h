// TFormRate: the progress window of the firmware update and the data write. A tool window, not
// modal, centred on its owner, with one label over a bar from 0 to 100; made when an exchange first
// shows it and released when it is closed.
#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

namespace torvane::ui {

class TFormRate final : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 390;
    static constexpr int kClientHeight = 102;
    static constexpr int kLabelWidth = 265;

    explicit TFormRate(QWidget* owner);

    QLabel* Label1() const { return label_; }
    QProgressBar* ProgressBar1() const { return progress_; }

    void ShowCentred();  // shows it over the middle of its owner (of the screen without one)

  private:
    QLabel* label_;
    QProgressBar* progress_;
};

}  // namespace torvane::ui
