// TFormUpdate: the modal window in which the operator updates one device. It shows the device's model
// and version as the device reports them and the header of the chosen image, lets the operator pick
// the image and a WEB file, and starts the update. The logic is the core's UpdateWindow; the window
// shows its texts and forwards its handlers. Messages, the login dialog and the progress window come
// through a UI port of its own, owned by this window.
#pragma once

#include <QDialog>
#include <filesystem>
#include <memory>

#include "core/update/update_window.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace torvane::ui {

class QtUiPort;

inline constexpr const char* kUpdateCaption = "Updating";
// One entry, shown as "*.bin(VK Firmware File)" (the pattern in parentheses is hidden), for *.bin.
inline constexpr const char* kImageFilter = "*.bin(VK Firmware File) (*.bin)";

// What the window needs from the program besides the device.
struct UpdateWindowDeps {
    DeviceLibrary& library;      // the logins
    FileWriter& files;           // backups and the remembered paths
    UpdateLinkOpener open_link;  // the update's channel to a device; empty: none is reached
    std::filesystem::path program_folder;
    UpdateTimings timings{};
    bool interactive = true;  // false: messages go to stderr and no dialog waits for an answer
};

class TFormUpdate final : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kWidth = 565;
    static constexpr int kHeight = 417;

    // The window for the device of `target`: Edit5 holds its address text.
    TFormUpdate(UpdateWindowDeps deps, const UpdateTarget& target, QWidget* owner);
    ~TFormUpdate() override;

    QLineEdit* Edit1() const { return edit1_; }
    QLineEdit* Edit2() const { return edit2_; }
    QLineEdit* Edit3() const { return edit3_; }
    QLineEdit* Edit4() const { return edit4_; }
    QLineEdit* Edit5() const { return edit5_; }
    QLineEdit* Edit6() const { return edit6_; }
    QLineEdit* Edit7() const { return edit7_; }
    QPlainTextEdit* Memo1() const { return memo1_; }
    QLabel* Label10() const { return label10_; }
    QLabel* Label12() const { return label12_; }
    QToolButton* BitBtn1() const { return bitbtn1_; }
    QToolButton* BitBtn2() const { return bitbtn2_; }
    QCheckBox* CheckBox1() const { return checkbox1_; }
    QCheckBox* CheckBox2() const { return checkbox2_; }
    QPushButton* Button1() const { return button1_; }
    QPushButton* Button2() const { return button2_; }
    QtUiPort& Port() const { return *port_; }  // its progress window, for a look during a run

    bool Opened() const { return opened_; }  // FormShow has run
    bool Running() const;                    // an update or a data write runs

  signals:
    void FormShown();  // FormShow has run

  public slots:
    void FormShow();
    void BitBtn2Click();  // browse for the image
    void BitBtn1Click();  // browse for the WEB file
    void CheckBox1Click();
    void CheckBox2Click();
    void Button1Click();     // "Updating"
    void Button2Click();     // "Quit"
    void reject() override;  // Escape: refused while an exchange runs

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildFileGroups();
    void BuildInformationGroup();
    void BuildTargetGroup();
    void BuildOptionGroup();
    void ShowHeader();
    // Every control the operator could change is disabled while an exchange runs.
    void SetRunning(bool running);

    std::unique_ptr<QtUiPort> port_;
    std::unique_ptr<UpdateWindow> logic_;
    QGroupBox* firmware_group_ = nullptr;
    QGroupBox* web_group_ = nullptr;
    QGroupBox* option_group_ = nullptr;
    QLineEdit* edit1_ = nullptr;
    QLineEdit* edit2_ = nullptr;
    QLineEdit* edit3_ = nullptr;
    QLineEdit* edit4_ = nullptr;
    QLineEdit* edit5_ = nullptr;
    QLineEdit* edit6_ = nullptr;
    QLineEdit* edit7_ = nullptr;
    QPlainTextEdit* memo1_ = nullptr;
    QLabel* label10_ = nullptr;
    QLabel* label12_ = nullptr;
    QToolButton* bitbtn1_ = nullptr;
    QToolButton* bitbtn2_ = nullptr;
    QCheckBox* checkbox1_ = nullptr;
    QCheckBox* checkbox2_ = nullptr;
    QPushButton* button1_ = nullptr;
    QPushButton* button2_ = nullptr;
    bool opened_ = false;
};

}  // namespace torvane::ui
