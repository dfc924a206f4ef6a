// What the operator does in a parameter window's grid, for the GUI tests: read an editor's text, type
// into a row's editor and complete the edit with Enter, choose an item of a drop-down row.
#pragma once

#include <QString>

class QWidget;

namespace torvane::ui {
class TPropertyGrid;
}

namespace torvane::test {

// The text an editor shows ("<no editor>" for a widget that is none).
QString EditorText(QWidget* editor);
void Type(ui::TPropertyGrid* grid, const char* caption, const QString& text);
void Choose(ui::TPropertyGrid* grid, const char* caption, const QString& item);

}  // namespace torvane::test
