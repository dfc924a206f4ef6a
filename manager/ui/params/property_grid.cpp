#include "ui/params/property_grid.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>

#include "ui/text_codec.h"

namespace torvane::ui {
namespace {

constexpr int kCaptionWidth = 130;
constexpr int kWideCaptionExtra = 40;
constexpr int kRowHeight = 24;

QStringList Items(const std::vector<std::string>& items) {
    QStringList out;
    for (const auto& item : items)
        out << DisplayText(item);
    return out;
}

void SetForeground(QWidget* editor, const QColor& colour) {
    QPalette palette = editor->palette();
    for (auto role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
        palette.setColor(role, colour);
    editor->setPalette(palette);
}

}  // namespace

DeviceTextValidator::DeviceTextValidator(size_t max_bytes, QObject* parent)
    : QValidator(parent), max_bytes_(max_bytes) {}

QValidator::State DeviceTextValidator::validate(QString& input, int&) const {
    const DeviceTextEncoding encoded = DeviceBytes(input);
    if (!encoded.ok) return Invalid;
    return max_bytes_ && encoded.bytes.size() > max_bytes_ ? Invalid : Acceptable;
}

TSpinEdit::TSpinEdit(int maximum, QWidget* parent) : QAbstractSpinBox(parent), maximum_(maximum) {
    setButtonSymbols(UpDownArrows);
}

void TSpinEdit::stepBy(int steps) {
    bool ok = false;
    const int value = text().toInt(&ok);
    lineEdit()->setText(QString::number(std::clamp(ok ? value + steps : 0, 0, maximum_)));
    emit editingFinished();
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

TPropertyGrid::TPropertyGrid(Sheet& sheet, size_t page, QWidget* parent)
    : QTableWidget(parent), sheet_(sheet), page_(page) {
    const SheetPage& p = sheet_.pages.at(page_);
    setObjectName(DisplayText(p.caption));
    setColumnCount(2);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(kRowHeight);
    horizontalHeader()->setStretchLastSection(true);
    setSelectionMode(NoSelection);
    setEditTriggers(NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);

    int caption_width = kCaptionWidth;
    for (size_t i = 0; i < p.rows.size(); ++i) {
        const SheetRow& row = p.rows[i];
        if (!row.visible) continue;
        caption_width =
            std::max(caption_width, fontMetrics().horizontalAdvance(DisplayText(row.caption)) + 16);
        if (row.kind == RowKind::kCategory) {
            AddCategory(row);
            lines_.push_back({i, nullptr});
            continue;
        }
        const int r = rowCount();
        insertRow(r);
        auto* caption = new QTableWidgetItem(DisplayText(row.caption));
        caption->setFlags(Qt::ItemIsEnabled);
        setItem(r, 0, caption);
        QWidget* editor = MakeEditor(row, i);
        setCellWidget(r, 1, editor);
        lines_.push_back({i, editor});
    }
    setColumnWidth(0, caption_width + (p.wide_captions ? kWideCaptionExtra : 0));
    RefreshTexts();
    RefreshMarks();
}

void TPropertyGrid::AddCategory(const SheetRow& row) {
    const int r = rowCount();
    insertRow(r);
    auto* item = new QTableWidgetItem(DisplayText(row.caption));
    item->setFlags(Qt::ItemIsEnabled);
    QFont font = item->font();
    font.setBold(true);
    item->setFont(font);
    item->setBackground(palette().alternateBase());
    setItem(r, 0, item);
    setSpan(r, 0, 1, 2);
}

QWidget* TPropertyGrid::MakeEditor(const SheetRow& row, size_t sheet_row) {
    switch (row.kind) {
        case RowKind::kPickList:
        case RowKind::kPickText: {
            auto* combo = new QComboBox(this);
            combo->addItems(Items(row.items));
            const bool free_text = row.kind == RowKind::kPickText;
            combo->setEditable(free_text);
            if (free_text) {
                combo->setInsertPolicy(QComboBox::NoInsert);
                combo->setValidator(new DeviceTextValidator(row.max_length, combo));
                connect(combo->lineEdit(), &QLineEdit::editingFinished, this,
                        [this, combo, sheet_row] { EditCompleted(sheet_row, combo->currentText()); });
            }
            connect(combo, &QComboBox::textActivated, this,
                    [this, sheet_row](const QString& text) { EditCompleted(sheet_row, text); });
            return combo;
        }
        case RowKind::kSpin: {
            auto* spin = new TSpinEdit(row.spin_max, this);
            connect(spin, &QAbstractSpinBox::editingFinished, this,
                    [this, spin, sheet_row] { EditCompleted(sheet_row, spin->text()); });
            return spin;
        }
        case RowKind::kText:
        case RowKind::kMaskedText:
        case RowKind::kCategory:
            break;
    }
    auto* edit = new QLineEdit(this);
    edit->setValidator(new DeviceTextValidator(row.max_length, edit));
    edit->setReadOnly(row.read_only);
    edit->setFrame(false);
    if (row.secret) {
        edit->setEchoMode(QLineEdit::Password);
        edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // "*"
    }
    connect(edit, &QLineEdit::editingFinished, this,
            [this, edit, sheet_row] { EditCompleted(sheet_row, edit->text()); });
    return edit;
}

// Only a text that differs from the row's counts: an editor reports the same edit on more than one
// signal (Enter, then the loss of focus to a message box).
void TPropertyGrid::EditCompleted(size_t sheet_row, const QString& text) {
    const DeviceTextEncoding encoded = DeviceBytes(text);  // the editors took only what it can hold
    if (!encoded.ok || encoded.bytes == sheet_.pages[page_].rows[sheet_row].text) return;
    sheet_.SetText(page_, sheet_row, encoded.bytes);
    emit RowEdited(page_);
}

const SheetRow& TPropertyGrid::RowOf(const Line& line) const {
    return sheet_.pages[page_].rows[line.sheet_row];
}

QString TPropertyGrid::EditorText(QWidget* editor) {
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) return combo->currentText();
    if (auto* spin = qobject_cast<TSpinEdit*>(editor)) return spin->text();
    return {};
}

void TPropertyGrid::SetEditorText(QWidget* editor, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        edit->setText(text);
        edit->setCursorPosition(0);
    } else if (auto* combo = qobject_cast<QComboBox*>(editor)) {
        int index = combo->findText(text);
        if (combo->isEditable()) {
            // The list opens at the item shown (not at its first one), which Enter would otherwise take.
            if (index >= 0) combo->setCurrentIndex(index);
            combo->setEditText(text);
            return;
        }
        if (index < 0) {  // a text the list does not hold is shown all the same
            combo->addItem(text);
            index = combo->count() - 1;
        }
        combo->setCurrentIndex(index);
    } else if (auto* spin = qobject_cast<TSpinEdit*>(editor)) {
        spin->findChild<QLineEdit*>()->setText(text);
    }
}

void TPropertyGrid::RefreshTexts() {
    for (const auto& line : lines_) {
        if (!line.editor) continue;
        const QString text = DisplayText(RowOf(line).text);
        if (EditorText(line.editor) != text) SetEditorText(line.editor, text);
    }
}

void TPropertyGrid::RefreshMarks() {
    const bool greys = sheet_.pages[page_].greys_inactive;
    for (size_t r = 0; r < lines_.size(); ++r) {
        if (!lines_[r].editor) continue;
        const bool grey = greys && RowOf(lines_[r]).inactive;
        const QColor colour = grey ? kInactiveColour : palette().color(QPalette::Text);
        item(static_cast<int>(r), 0)->setForeground(colour);
        SetForeground(lines_[r].editor, colour);
    }
}

QWidget* TPropertyGrid::Editor(const QString& caption) const {
    const int r = GridRow(caption);
    return r < 0 ? nullptr : lines_[static_cast<size_t>(r)].editor;
}

int TPropertyGrid::GridRow(const QString& caption) const {
    for (size_t r = 0; r < lines_.size(); ++r) {
        if (DisplayText(RowOf(lines_[r]).caption) == caption) return static_cast<int>(r);
    }
    return -1;
}

}  // namespace torvane::ui
