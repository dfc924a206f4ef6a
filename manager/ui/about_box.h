// TAboutBox: program name and version, readme.txt of the program folder in a read-only text area, and
// logo.bmp of the program folder as the picture (the program name in large letters without it).
#pragma once

#include <QDialog>
#include <filesystem>

class QLabel;
class QPlainTextEdit;

namespace torvane::ui {

inline constexpr const char* kProgramName = "Torvane";
inline constexpr const char* kVersionText = "Version:V1.0";

class TAboutBox final : public QDialog {
    Q_OBJECT
  public:
    TAboutBox(const std::filesystem::path& program_folder, QWidget* owner = nullptr);

    QLabel* Picture() const { return picture_; }  // holds the logo, or the name in large letters
    QPlainTextEdit* Readme() const { return readme_; }

  private:
    QLabel* picture_;
    QPlainTextEdit* readme_;
};

}  // namespace torvane::ui
