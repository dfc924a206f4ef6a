// A TMainForm over a scripted library, without a shared table, in a temporary program folder; the
// pauses between passes are recorded (with the wait window as it stands) instead of slept.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTreeView>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/subnet.h"
#include "platform/file_writer.h"
#include "support/noting_library.h"
#include "support/sandbox.h"
#include "support/scripted_library.h"
#include "ui/main_form.h"
#include "ui/wait_form.h"

namespace torvane::test {

using Lines = std::vector<std::string>;

class NoSharedTable final : public SharedDeviceTable {
  public:
    SharedTableSnapshot Read() override { return {}; }
};

class MainFormTest : public ::testing::Test {
  protected:
    TempDir dir;
    ScriptedLibrary scripted;
    Lines notes;  // library calls and pauses, each with the wait window's state
    // Notes the wait window's state at every library call, so a test can see what the operator saw.
    NotingLibrary library{scripted,
                          [this](const std::string& call) { notes.push_back(call + " | " + WaitState()); }};
    NoSharedTable table;
    PlatformFileWriter files;
    // The workstation's interfaces and the broadcast setting the form is given (none by default).
    std::function<std::vector<NetworkInterface>()> network_interfaces;
    BroadcastSetting* broadcast = nullptr;
    std::unique_ptr<ui::TMainForm> form;

    void WriteFile(const std::string& name, const std::string& bytes) {
        std::ofstream(dir.path() / name, std::ios::binary) << bytes;
    }
    void WriteBook(const std::vector<std::string>& ips) {
        std::string bytes;
        for (const auto& ip : ips) {
            std::string r(66, '\0');
            r.replace(0, ip.size(), ip);
            bytes += r;
        }
        WriteFile("DevInfo.dat", bytes);
    }

    void Create() {
        form = std::make_unique<ui::TMainForm>(ui::MainFormDeps{
            library,
            table,
            files,
            dir.path(),
            [] {
                return std::vector<LocalInterface>{{InetAddr("10.0.0.1"), InetAddr("255.255.255.0")}};
            },
            [this](std::chrono::milliseconds ms) {
                notes.push_back("pause " + std::to_string(ms.count()) + " | " + WaitState());
            },
            true,
            {},
            nullptr,
            network_interfaces,
            broadcast});
    }
    // Shows the window and waits until the start-up sequence has run.
    void Start() {
        if (!form) Create();
        form->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return form->StartupDone(); }, 10000));
    }

    std::string WaitState() const {
        const ui::TWaitForm* w = form->WaitForm();
        const QProgressBar* bar = w->ProgressBar();
        return std::string(w->isVisible() ? "shown" : "hidden") + " | " + w->Text().toStdString() + " | " +
               std::to_string(bar->minimum()) + "-" + std::to_string(bar->maximum()) + " | " +
               std::to_string(bar->value());
    }

    // Every row of the list as the view shows it: the six columns joined by " | ".
    Lines ViewRows() const {
        Lines out;
        const QAbstractItemModel* m = form->ListView1()->model();
        for (int r = 0; r < m->rowCount(); ++r) {
            std::string line;
            for (int c = 0; c < m->columnCount(); ++c)
                line += (c ? " | " : "") + m->index(r, c).data().toString().toStdString();
            out.push_back(line);
        }
        return out;
    }
    void SelectRow(int row) {
        QTreeView* v = form->ListView1();
        v->selectionModel()->select(v->model()->index(row, 0),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    std::string Count() const { return form->StatusPanel(1)->text().toStdString(); }
};

}  // namespace torvane::test
