// TPropertyGrid: one page of a parameter window as a two-column grid, the row's caption on the left and
// an editor for its value on the right (line edit, address edit, drop-down list, spin box), with
// category rows as headings. It shows the visible rows of a core SheetPage, hands every completed
// edit back to the page as device bytes, and draws inactive rows in grey where the page greys them.
#pragma once

#include <QAbstractSpinBox>
#include <QColor>
#include <QTableWidget>
#include <QValidator>
#include <vector>

#include "core/params/param_sheet_rows.h"

namespace torvane::ui {

inline const QColor kInactiveColour{0x80, 0x80, 0x80};

// Takes a text while its device bytes (GBK) fit `max_bytes` (0: any length) and every character has
// a device byte form.
class DeviceTextValidator final : public QValidator {
    Q_OBJECT
  public:
    DeviceTextValidator(size_t max_bytes, QObject* parent);
    State validate(QString& input, int& pos) const override;

  private:
    size_t max_bytes_;
};

// A spin row's editor: free text, as the operator may type anything (the store then refuses what is
// not an integer), with up and down buttons that step an integer between 0 and the row's maximum.
class TSpinEdit final : public QAbstractSpinBox {
    Q_OBJECT
  public:
    TSpinEdit(int maximum, QWidget* parent);
    void stepBy(int steps) override;

  protected:
    StepEnabled stepEnabled() const override;

  private:
    int maximum_;
};

class TPropertyGrid final : public QTableWidget {
    Q_OBJECT
  public:
    TPropertyGrid(Sheet& sheet, size_t page, QWidget* parent = nullptr);

    // The editor of a visible row (nullptr for category rows and rows that are not shown).
    QWidget* Editor(const QString& caption) const;
    // The grid row of a visible row's caption; -1 when it is not shown.
    int GridRow(const QString& caption) const;

    // Reads every row's text and mark from the sheet again.
    void RefreshTexts();
    void RefreshMarks();

  signals:
    // A row's edit was completed and its text is in the sheet.
    void RowEdited(size_t page);

  private:
    struct Line {
        size_t sheet_row;
        QWidget* editor;
    };
    QWidget* MakeEditor(const SheetRow& row, size_t sheet_row);
    void AddCategory(const SheetRow& row);
    void EditCompleted(size_t sheet_row, const QString& text);
    const SheetRow& RowOf(const Line& line) const;
    static QString EditorText(QWidget* editor);
    static void SetEditorText(QWidget* editor, const QString& text);

    Sheet& sheet_;
    size_t page_;
    std::vector<Line> lines_;  // one per grid row, category rows with a null editor
};

}  // namespace torvane::ui
