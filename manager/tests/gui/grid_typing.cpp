#include "gui/grid_typing.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "ui/params/property_grid.h"

namespace torvane::test {

QString EditorText(QWidget* editor) {
    if (auto* e = qobject_cast<QLineEdit*>(editor)) return e->text();
    if (auto* c = qobject_cast<QComboBox*>(editor)) return c->currentText();
    if (auto* s = qobject_cast<ui::TSpinEdit*>(editor)) return s->text();
    return "<no editor>";
}

void Type(ui::TPropertyGrid* grid, const char* caption, const QString& text) {
    QWidget* editor = grid->Editor(caption);
    ASSERT_NE(editor, nullptr) << caption;
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line) line = editor->findChild<QLineEdit*>();  // an editable drop-down's or a spin box's
    ASSERT_NE(line, nullptr) << caption;
    line->selectAll();
    line->del();
    QTest::keyClicks(line, text);
    QTest::keyClick(line, Qt::Key_Return);
}

void Choose(ui::TPropertyGrid* grid, const char* caption, const QString& item) {
    auto* combo = qobject_cast<QComboBox*>(grid->Editor(caption));
    ASSERT_NE(combo, nullptr) << caption;
    const int index = combo->findText(item);
    ASSERT_GE(index, 0) << item.toStdString();
    combo->setCurrentIndex(index);
    emit combo->textActivated(item);
}

}  // namespace torvane::test
