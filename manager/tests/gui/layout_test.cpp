// What the operator sees of the main window before anything runs: caption and size, the toolbar's
// buttons in order, the menus, the list's columns and popup, the log pane and the status bar.
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QToolButton>

#include "gui/gui_support.h"
#include "gui/main_form_fixture.h"

namespace torvane::test {
namespace {

Lines Texts(const QList<QAction*>& actions) {
    Lines out;
    for (const QAction* a : actions)
        out.push_back(a->isSeparator() ? "-" : a->text().toStdString());
    return out;
}

TEST_F(MainFormTest, WindowHasItsCaptionsToolbarMenusColumnsAndPanels) {
    Create();
    EXPECT_EQ(form->windowTitle(), "TorvaneV1.1");
    EXPECT_EQ(form->size(), QSize(800, 599));

    const auto* bar = form->findChild<QToolBar*>("ToolBar1");
    ASSERT_NE(bar, nullptr);
    Lines buttons;
    for (QAction* a : bar->actions()) {
        if (a->isSeparator()) {
            buttons.push_back("-");
            continue;
        }
        const auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a));
        ASSERT_NE(b, nullptr);
        buttons.push_back(b->text().toStdString());
        EXPECT_EQ(b->size(), QSize(73, 43)) << b->text().toStdString();
        EXPECT_EQ(b->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        EXPECT_TRUE(b->autoRaise());
        EXPECT_FALSE(b->icon().pixmap(24, 24).isNull()) << b->text().toStdString();
    }
    EXPECT_EQ(buttons,
              (Lines{"LocalSearch", "BookSearch", "-", "Add", "Del", "Edit", "-", "About", "-", "Exit"}));

    const QList<QAction*> top = form->menuBar()->actions();
    EXPECT_EQ(Texts(top), (Lines{"Device(&D)", "Addressbook(&A)", "Tools(&T)", "Help(&H)", "Exit(&E)"}));
    const Lines entries[] = {
        {"Local Search", "Addressbook Search", "All Device Models", "Search Interfaces..."},
        {"Add", "Del", "Edit"},
        {"Update..."},
        {"About Torvane"}};
    for (size_t i = 0; i < std::size(entries); ++i) {
        ASSERT_NE(top[static_cast<qsizetype>(i)]->menu(), nullptr);
        EXPECT_EQ(Texts(top[static_cast<qsizetype>(i)]->menu()->actions()), entries[i]);
    }
    EXPECT_EQ(top[4]->menu(), nullptr) << "Exit is a command of the menu bar itself";
    EXPECT_EQ(Texts(form->PopupMenu()->actions()), (Lines{"Search", "Update...", "Device Information"}));

    const QHeaderView* header = form->ListView1()->header();
    const std::pair<const char*, int> columns[] = {
        {"Flag", 70},     {"MAC", 130}, {"IP Address", 120}, {"Device Name", 95}, {"Firmware Version", 100},
        {"Location", 100}};
    ASSERT_EQ(header->count(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(form->ListView1()->model()->headerData(i, Qt::Horizontal).toString(), columns[i].first);
        EXPECT_EQ(header->sectionSize(i), columns[i].second) << columns[i].first;
    }
    EXPECT_EQ(form->ListView1()->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(form->ListView1()->editTriggers(), QAbstractItemView::NoEditTriggers);

    EXPECT_TRUE(form->Memo1()->isReadOnly());
    EXPECT_EQ(form->Memo1()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    Start();  // sizes settle when shown
    EXPECT_EQ(form->Memo1()->height(), 89);

    const std::tuple<QString, int, Qt::Alignment> panels[] = {
        {QString::fromUtf8("设备数量"), 60, Qt::AlignRight | Qt::AlignVCenter},
        {"0", 40, Qt::AlignCenter},  // the count after the start-up sequence found nothing
        {"", 50, Qt::AlignLeft | Qt::AlignVCenter}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(form->StatusPanel(i)->text(), std::get<0>(panels[i]));
        EXPECT_EQ(form->StatusPanel(i)->width(), std::get<1>(panels[i]));
        EXPECT_EQ(form->StatusPanel(i)->alignment(), std::get<2>(panels[i]));
    }
}

}  // namespace
}  // namespace torvane::test
