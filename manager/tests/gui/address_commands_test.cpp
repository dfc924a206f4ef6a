// Add, Edit and Del through the toolbar and the address dialog, accepted and cancelled.
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "gui/gui_support.h"
#include "gui/main_form_fixture.h"
#include "ui/ip_edit.h"
#include "ui/ip_form.h"

namespace torvane::test {
namespace {

struct DialogCase {
    const char* name;
    const char* button;  // toolbar button
    int select;          // row selected first, -1 none
    bool dialog;         // whether the dialog must appear
    std::string caption, initial;
    std::vector<const char*> typed;  // the four fields
    bool accept;
    Lines rows;  // the list afterwards
    const char* screenshot;
};

const std::string kBook = "Offline |  | 10.0.0.7 |  |  | AddressBook";
const std::string kLocal = "Online | 0.2.0.0.0.1 | 10.0.0.20 | n | V | Local";

class AddressCommandsTest : public MainFormTest {};

TEST_F(AddressCommandsTest, AddEditAndDelGoThroughTheDialog) {
    const DialogCase cases[] = {
        {"add accepted",
         "Add",
         -1,
         true,
         "Add IP to AddressBook",
         "0.0.0.0",
         {"10", "0", "0", "99"},
         true,
         {kBook, "Offline |  | 10.0.0.99 |  |  | AddressBook", kLocal},
         "address_dialog"},
        {"add cancelled",
         "Add",
         -1,
         true,
         "Add IP to AddressBook",
         "0.0.0.0",
         {"10", "0", "0", "99"},
         false,
         {kBook, kLocal},
         nullptr},
        {"edit accepted",
         "Edit",
         0,
         true,
         "Modify the ip address in book",
         "10.0.0.7",
         {"192", "168", "1", "250"},
         true,
         {"Offline |  | 192.168.1.250 |  |  | AddressBook", kLocal},
         "address_dialog_edit"},
        {"edit cancelled",
         "Edit",
         0,
         true,
         "Modify the ip address in book",
         "10.0.0.7",
         {"1", "1", "1", "1"},
         false,
         {kBook, kLocal},
         nullptr},
        {"edit of a local row", "Edit", 1, false, "", "", {}, false, {kBook, kLocal}, nullptr},
        {"edit without selection", "Edit", -1, false, "", "", {}, false, {kBook, kLocal}, nullptr},
        {"del of a local row", "Del", 1, false, "", "", {}, false, {kBook, kLocal}, nullptr},
        {"del of a book row", "Del", 0, false, "", "", {}, false, {kLocal}, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        WriteBook({"10.0.0.7"});
        scripted.ScriptSearchAll(VK_OK, {StandardRecord(0x20, {0, 2, 0, 0, 0, 1}, "10.0.0.20", "n", "V")});
        Start();
        ASSERT_EQ(ViewRows(), (Lines{kBook, kLocal}));
        if (c.select >= 0) SelectRow(c.select);

        bool seen = false;
        if (c.dialog) {
            WhenModalShown([&](QWidget* w) {
                auto* dialog = qobject_cast<ui::TIPForm*>(w);
                ASSERT_NE(dialog, nullptr);
                seen = true;
                EXPECT_EQ(dialog->windowTitle().toStdString(), c.caption);
                EXPECT_EQ(dialog->IPEdit1()->Text().toStdString(), c.initial);
                for (int i = 0; i < 4; ++i) {
                    dialog->IPEdit1()->Field(i)->clear();
                    QTest::keyClicks(dialog->IPEdit1()->Field(i), c.typed[static_cast<size_t>(i)]);
                }
                if (c.screenshot) SaveScreenshot(dialog, c.screenshot);
                QTest::mouseClick(c.accept ? dialog->OkButton() : dialog->CancelButton(), Qt::LeftButton);
            });
        }
        QTest::mouseClick(form->ToolButton(c.button), Qt::LeftButton);
        EXPECT_EQ(seen, c.dialog);
        EXPECT_EQ(ViewRows(), c.rows);
        form.reset();
        QTest::qWait(20);  // lets a pending poll of WhenModalShown see that no dialog came
    }
}

// The dialog as Add and Edit open it: the keys typed in one go, as a person types them, give the
// address stored in the book (dots or none, Backspace, a pasted address).
TEST_F(AddressCommandsTest, AnAddressTypedKeyByKeyIsTheOneStored) {
    const struct {
        const char* button;
        const char* keys;  // "\b" Backspace, "\x16" Ctrl+V of kPasted
        Lines rows;
    } cases[] = {
        {"Add", "192.168.1.20", {kBook, "Offline |  | 192.168.1.20 |  |  | AddressBook", kLocal}},
        {"Add", "127000000013", {kBook, "Offline |  | 127.0.0.13 |  |  | AddressBook", kLocal}},
        {"Add", "10.0.0.99\b\b8", {kBook, "Offline |  | 10.0.0.8 |  |  | AddressBook", kLocal}},
        {"Add", "\x16", {kBook, "Offline |  | 172.16.254.3 |  |  | AddressBook", kLocal}},
        {"Edit", "127.0.0.13", {"Offline |  | 127.0.0.13 |  |  | AddressBook", kLocal}},
        {"Edit", "1.2\b\b\b\b\b\b\b192.168.1.20", {"Offline |  | 192.168.1.20 |  |  | AddressBook", kLocal}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " " + c.keys);
        form.reset();
        WriteBook({"10.0.0.7"});
        scripted.ScriptSearchAll(VK_OK, {StandardRecord(0x20, {0, 2, 0, 0, 0, 1}, "10.0.0.20", "n", "V")});
        Start();
        if (std::string(c.button) == "Edit") SelectRow(0);
        QApplication::clipboard()->setText(QStringLiteral("172.16.254.3"));
        bool seen = false;
        WhenModalShown([&](QWidget* dialog) {
            seen = true;
            // On X11 the focus arrives once the window manager has activated the dialog.
            const bool focused =
                QTest::qWaitFor([&] { return dialog->isAncestorOf(QApplication::focusWidget()); });
            EXPECT_TRUE(focused) << "the dialog never got the focus";
            if (!focused) return qobject_cast<QDialog*>(dialog)->reject();
            TypeKeys(c.keys);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // the default button, OK
            if (dialog->isVisible()) {
                ADD_FAILURE() << "Return did not close the dialog";
                qobject_cast<QDialog*>(dialog)->reject();
            }
        });
        QTest::mouseClick(form->ToolButton(c.button), Qt::LeftButton);
        EXPECT_TRUE(seen);
        EXPECT_EQ(ViewRows(), c.rows);
    }
    form.reset();
}

}  // namespace
}  // namespace torvane::test
