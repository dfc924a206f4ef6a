// TParaInfoForm and TParaInfoExForm: the modal parameter windows of a standard and of an extended
// device. Tabbed pages, each a TPropertyGrid over the rows of the core's sheet, above a panel with
// "Default" at the left and the modify button and "Cancel" at the right. The window converts nothing
// itself: it shows the sheet, hands edits to it and shows the boxes the sheet answers with.
#pragma once

#include <QDialog>
#include <cstdint>
#include <span>
#include <vector>

#include "core/params/ex_param_sheet.h"
#include "core/params/param_sheet.h"

class QPushButton;
class QTabWidget;

namespace torvane::ui {

class TPropertyGrid;

// What both windows share: the page control, the grids, the buttons and their handlers, which ask the
// window's sheet to show, store, reset or cancel.
class TParamFormBase : public QDialog {
    Q_OBJECT
  public:
    QTabWidget* PageControl1() const { return pages_; }
    // The grid of a page of the sheet (nullptr for a hidden page).
    TPropertyGrid* Grid(size_t page) const;
    QPushButton* DefaultButton() const { return default_; }
    QPushButton* ModifyButton() const { return modify_; }
    QPushButton* CancelButton() const { return cancel_; }
    // The window's Modified: 1 after a completed modify, else 0.
    virtual int Modified() const = 0;

  public slots:
    void FormShow();
    void BitBtn1Click();  // "Default"
    void BitBtn2Click();  // the modify button
    void BitBtn3Click();  // "Cancel"

  protected:
    TParamFormBase(Sheet& sheet, const char* modify_caption, QWidget* owner);
    // Builds one tab per visible page of the sheet.
    void BuildPages();
    void RefreshMarks();
    void showEvent(QShowEvent* event) override;

    // The sheet's part of the handlers.
    virtual void ShowBlock() = 0;
    virtual std::optional<std::string> StoreBlock() = 0;
    virtual void DefaultRows() = 0;
    virtual void CancelRows() = 0;
    virtual void PageEdited(size_t) {}

    Sheet& sheet_;

  private:
    void RefreshTexts();

    QTabWidget* pages_;
    QPushButton* default_;
    QPushButton* modify_;
    QPushButton* cancel_;
    std::vector<TPropertyGrid*> grids_;  // by sheet page
};

class TParaInfoForm final : public TParamFormBase {
    Q_OBJECT
  public:
    static constexpr int kWidth = 380;
    static constexpr int kHeight = 360;

    // The session's sheet (its page "System" already filled) and buffer, which the window edits in place.
    TParaInfoForm(ParamSheet& sheet, std::span<uint8_t> ParamBlock, QWidget* owner);

    int Modified() const override { return model_.Modified; }

  public slots:
    void PageControl1Change(int tab);

  private:
    void ShowBlock() override;
    std::optional<std::string> StoreBlock() override { return model_.Modity(ParamBlock); }
    void DefaultRows() override { model_.Default(); }
    void CancelRows() override { model_.Cancel(); }
    void PageEdited(size_t page) override;

    ParamSheet& model_;
    std::span<uint8_t> ParamBlock;
};

class TParaInfoExForm final : public TParamFormBase {
    Q_OBJECT
  public:
    static constexpr int kWidth = 440;
    static constexpr int kHeight = 600;

    TParaInfoExForm(ExParamSheet& sheet, std::span<uint8_t> ParamBlock, QWidget* owner);

    int Modified() const override { return model_.Modified; }

  private:
    void ShowBlock() override;
    std::optional<std::string> StoreBlock() override { return model_.Modify(ParamBlock); }
    void DefaultRows() override { model_.Default(); }
    void CancelRows() override { model_.Cancel(); }

    ExParamSheet& model_;
    std::span<uint8_t> ParamBlock;
};

}  // namespace torvane::ui
