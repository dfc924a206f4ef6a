#include "app/torvane_main.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "app/startup_report.h"
#include "platform/broadcast_setting.h"
#include "platform/file_writer.h"
#include "platform/instance_lock.h"
#include "platform/local_port.h"
#include "platform/net_func.h"
#include "platform/program_folder.h"
#include "platform/shared_table_posix.h"
#include "platform/update_socket.h"
#include "platform/workstation_arp.h"
#include "ui/application.h"
#include "ui/main_form.h"
#include "ui/message_boxes.h"
#include "ui/restore_channel.h"
#include "vkcfg.h"

namespace torvane {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage = R"(usage: torvane [options]
The device manager. Without options it opens the main window and searches the network.
  --report              print the device list after the start-up sequence ("row" lines, tab-separated,
                        then "startup-done N"), and "restore-request accepted" or
                        "restore-request ignored PATH" when another start asks for the window
  --report-painted      print "main-window-painted" when the main window has been painted first
  --quit-after-startup  close the main window once the start-up sequence has ended
  --screenshot FILE     save a PNG picture of the main window after the start-up sequence, then close
                        it (implies --quit-after-startup)
  --version             print the version and end
Environment: TORVANE_HOME (folder of DevInfo.dat, Config.ini, readme.txt, logo.bmp), VKCFG_BROADCAST,
TORVANE_SHARED_TABLE_MEMORY and TORVANE_SHARED_TABLE_MUTEX (other names of the shared device table).
)";

struct Options {
    bool report = false;
    bool report_painted = false;
    bool quit_after_startup = false;
    std::string screenshot;
};

// Options of ours; Qt's own (-platform and the like) are left to QApplication. Nothing on --help or a
// bad option: the caller then ends with `exit_code`.
bool ParseOptions(int argc, char** argv, Options& options, int& exit_code) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--report") {
            options.report = true;
        } else if (a == "--report-painted") {
            options.report_painted = true;
        } else if (a == "--quit-after-startup") {
            options.quit_after_startup = true;
        } else if (a == "--screenshot" && i + 1 < argc) {
            options.screenshot = argv[++i];
            options.quit_after_startup = true;  // a picture run is not left open for nobody
        } else if (a == "--version") {
            std::printf("torvane %s (vkcfg %d.%d.%d)\n", TORVANE_VERSION, VKCFG_VERSION_MAJOR,
                        VKCFG_VERSION_MINOR, VKCFG_VERSION_PATCH);
            exit_code = 0;
            return false;
        } else if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            exit_code = 0;
            return false;
        } else if (a.rfind("--", 0) == 0) {
            std::fprintf(stderr, "torvane: unknown option %s\n%s", a.c_str(), kUsage);
            exit_code = 2;
            return false;
        }
    }
    return true;
}

void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

QString ExecutablePath() {
    std::error_code ec;
    const fs::path exe = fs::canonical("/proc/self/exe", ec);
    return ec ? QString() : QString::fromStdString(exe.string());
}

SharedTableNames TableNamesFromEnvironment() {
    SharedTableNames names;
    if (const char* m = std::getenv("TORVANE_SHARED_TABLE_MEMORY"); m && *m) names.memory = m;
    if (const char* m = std::getenv("TORVANE_SHARED_TABLE_MUTEX"); m && *m) names.mutex = m;
    return names;
}

void ConnectReport(ui::TMainForm& form, ui::RestoreServer& server, const Options& options) {
    if (options.report_painted)
        QObject::connect(&form, &ui::TMainForm::FirstPainted, &form, [] { Print("main-window-painted\n"); });
    QObject::connect(&form, &ui::TMainForm::StartupFinished, &form, [&form, options] {
        if (options.report) Print(RowsReport(form.commands().list()));
        if (!options.screenshot.empty() && !form.grab().save(QString::fromStdString(options.screenshot)))
            std::fprintf(stderr, "torvane: cannot write %s\n", options.screenshot.c_str());
        if (options.quit_after_startup) QTimer::singleShot(0, &form, &QWidget::close);
    });
    if (!options.report) return;
    QObject::connect(&server, &ui::RestoreServer::RestoreRequested, &form,
                     [] { Print("restore-request accepted\n"); });
    QObject::connect(&server, &ui::RestoreServer::ForeignRequestIgnored, &form, [](const QString& path) {
        Print("restore-request ignored " + path.toStdString() + "\n");
    });
}

}  // namespace

int RunTorvane(int argc, char** argv) {
    Options options;
    int exit_code = 0;
    if (!ParseOptions(argc, argv, options, exit_code)) return exit_code;

    const fs::path runtime = RuntimeFolder();
    const QString socket_path =
        QString::fromStdString((runtime / (std::string(kInstanceName) + ".socket")).string());
    const InstanceLock lock = InstanceLock::TryAcquire(runtime / (std::string(kInstanceName) + ".lock"));
    const QString executable = ExecutablePath();
    if (lock.state() == InstanceLock::State::kHeldElsewhere) {
        QCoreApplication app(argc, argv);  // no window: the running instance shows its own
        ui::SendRestoreRequest(socket_path, executable);
        return 0;
    }
    if (lock.state() == InstanceLock::State::kUnavailable)
        std::fprintf(stderr, "torvane: no single-instance lock (%s)\n", lock.error().c_str());

    QApplication app(argc, argv);
    ui::PrepareApplication();
    ui::RestoreServer server(socket_path, executable);
    if (lock.state() == InstanceLock::State::kAcquired && !server.Listen())
        std::fprintf(stderr, "torvane: cannot listen on %s\n", socket_path.toLocal8Bit().constData());

    fs::path folder;
    try {
        folder = ProgramFolder();
    } catch (const std::exception& e) {
        if (options.report || options.quit_after_startup) {
            std::fprintf(stderr, "torvane: %s\n", e.what());
        } else {
            ui::ShowMessageBox(nullptr, MessageKind::kError, e.what(), MessageButtons::kOk);
        }
        return 1;
    }
    VkcfgLibrary library;
    PosixSharedTable table(TableNamesFromEnvironment());
    const bool interactive = !options.report && !options.quit_after_startup;
    PlatformFileWriter files;
    WorkstationArp arp;
    EnvironmentBroadcastSetting broadcast;
    ui::TMainForm MainForm({library,
                            table,
                            files,
                            folder,
                            GetLocalInterfaces,
                            {},
                            interactive,
                            [] { return LocalUdpPortInUse(VK_LOCAL_PORT); },
                            &arp,
                            ListNetworkInterfaces,
                            &broadcast,
                            OpenUpdateSocket});
    QObject::connect(&server, &ui::RestoreServer::RestoreRequested, &MainForm,
                     &ui::TMainForm::RestoreRequest);
    ConnectReport(MainForm, server, options);
    MainForm.show();
    return app.exec();
}

}  // namespace torvane
