#include "ui/params/para_info_form.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/message_boxes.h"
#include "ui/params/form_login.h"
#include "ui/params/property_grid.h"
#include "ui/text_codec.h"

namespace torvane::ui {

TParamFormBase::TParamFormBase(Sheet& sheet, const char* modify_caption, QWidget* owner)
    : QDialog(owner),
      sheet_(sheet),
      pages_(new QTabWidget(this)),
      default_(new QPushButton(QStringLiteral("Default"), this)),
      modify_(new QPushButton(QString::fromLatin1(modify_caption), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)),
      grids_(sheet.pages.size(), nullptr) {
    setModal(true);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->setUsesScrollButtons(false);  // every tab stays in sight: the window is as wide as they need
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(default_);
    buttons->addStretch();
    buttons->addWidget(modify_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addLayout(buttons);
    for (auto* button : {default_, modify_, cancel_})
        button->setAutoDefault(false);
    connect(default_, &QPushButton::clicked, this, &TParamFormBase::BitBtn1Click);
    connect(modify_, &QPushButton::clicked, this, &TParamFormBase::BitBtn2Click);
    connect(cancel_, &QPushButton::clicked, this, &TParamFormBase::BitBtn3Click);
}

void TParamFormBase::BuildPages() {
    for (size_t page = 0; page < sheet_.pages.size(); ++page) {
        if (!sheet_.pages[page].visible) continue;
        auto* grid = new TPropertyGrid(sheet_, page, pages_);
        grids_[page] = grid;
        pages_->addTab(grid, DisplayText(sheet_.pages[page].caption));
        connect(grid, &TPropertyGrid::RowEdited, this, [this](size_t p) { PageEdited(p); });
    }
    pages_->setCurrentIndex(0);
}

TPropertyGrid* TParamFormBase::Grid(size_t page) const {
    return page < grids_.size() ? grids_[page] : nullptr;
}

void TParamFormBase::RefreshTexts() {
    for (auto* grid : grids_) {
        if (grid) grid->RefreshTexts();
    }
}

void TParamFormBase::RefreshMarks() {
    for (auto* grid : grids_) {
        if (grid) grid->RefreshMarks();
    }
}

void TParamFormBase::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TParamFormBase::FormShow() {
    ShowBlock();
    RefreshTexts();
    RefreshMarks();
}

void TParamFormBase::BitBtn1Click() {
    DefaultRows();
    RefreshTexts();
}

// A refused store leaves the window open; the rows stored before the refusal keep their new values.
void TParamFormBase::BitBtn2Click() {
    if (const auto error = StoreBlock()) {
        ShowMessageBox(this, MessageKind::kError, *error, MessageButtons::kOk);
        return;
    }
    accept();
}

void TParamFormBase::BitBtn3Click() {
    CancelRows();
    reject();
}

// ---- TParaInfoForm -------------------------------------------------------------------------------

TParaInfoForm::TParaInfoForm(ParamSheet& sheet, std::span<uint8_t> block, QWidget* owner)
    : TParamFormBase(sheet.sheet(), "Modity", owner), model_(sheet), ParamBlock(block) {
    setObjectName(QStringLiteral("ParaInfoForm"));
    setWindowTitle(QString::fromLatin1(kParaInfoCaption));
    setWindowFlags(kFixedDialogFlags);
    setFixedSize(kWidth, kHeight);
    BuildPages();
    connect(PageControl1(), &QTabWidget::currentChanged, this, &TParaInfoForm::PageControl1Change);
}

void TParaInfoForm::ShowBlock() {
    model_.Show(ParamBlock);
}

void TParaInfoForm::PageEdited(size_t page) {
    for (const auto& error : model_.AfterEdit(page))
        ShowMessageBox(this, MessageKind::kError, error, MessageButtons::kOk);
    RefreshMarks();
}

void TParaInfoForm::PageControl1Change(int tab) {
    for (size_t page = 0; page < sheet_.pages.size(); ++page) {
        if (Grid(page) && PageControl1()->indexOf(Grid(page)) == tab) model_.PageShown(page);
    }
    RefreshMarks();
}

// ---- TParaInfoExForm -----------------------------------------------------------------------------

TParaInfoExForm::TParaInfoExForm(ExParamSheet& sheet, std::span<uint8_t> block, QWidget* owner)
    : TParamFormBase(sheet.sheet(), "Modify", owner), model_(sheet), ParamBlock(block) {
    setObjectName(QStringLiteral("ParaInfoExForm"));
    resize(kWidth, kHeight);
    BuildPages();
}

void TParaInfoExForm::ShowBlock() {
    model_.Show(ParamBlock);
    setWindowTitle(DisplayText(model_.Caption()));
}

}  // namespace torvane::ui
