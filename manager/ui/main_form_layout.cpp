// The main window's parts: list and log pane in a splitter, the toolbar, the menus, the list's popup
// menu and the status bar, each wired to its handler.
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>

#include "ui/device_list_model.h"
#include "ui/main_form.h"
#include "ui/row_images.h"

namespace torvane::ui {
namespace {

constexpr int kToolButtonWidth = 73;
constexpr int kToolButtonHeight = 43;

struct ToolEntry {
    const char* caption;  // nullptr: a separator
    const char* image;
    void (TMainForm::*handler)();
};

struct StatusPanelInfo {
    int width;
    Qt::Alignment alignment;
    const char* text;
};

}  // namespace

void TMainForm::BuildCentralArea() {
    list_view_ = new QTreeView(this);
    list_view_->setObjectName(QStringLiteral("ListView1"));
    list_view_->setRootIsDecorated(false);
    list_view_->setItemsExpandable(false);
    list_view_->setUniformRowHeights(true);
    list_view_->setAllColumnsShowFocus(true);
    list_view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_view_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_view_->setIconSize(QSize(16, 16));
    list_view_->setSortingEnabled(false);
    list_view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_view_, &QTreeView::doubleClicked, this, [this](const QModelIndex& i) {
        if (i.isValid()) ListView1DblClick();
    });
    connect(list_view_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(list_view_->viewport()->mapToGlobal(at)); });

    memo_ = new QPlainTextEdit(this);
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setMinimumHeight(30);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(list_view_);
    splitter->addWidget(memo_);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 0);
    splitter->setSizes({kHeight, kMemoHeight});
    setCentralWidget(splitter);
}

void TMainForm::SizeColumns() {
    for (size_t c = 0; c < kListColumns.size(); ++c)
        list_view_->header()->resizeSection(static_cast<int>(c), kListColumns[c].width);
    list_view_->header()->setStretchLastSection(false);
    list_view_->header()->setSectionsMovable(false);
}

void TMainForm::BuildToolBar() {
    static const ToolEntry entries[] = {
        {"LocalSearch", "tool_localsearch", &TMainForm::BitBtn4Click},
        {"BookSearch", "tool_booksearch", &TMainForm::ToolButton2Click},
        {nullptr, nullptr, nullptr},
        {"Add", "tool_add", &TMainForm::BitBtn5Click},
        {"Del", "tool_del", &TMainForm::BitBtn6Click},
        {"Edit", "tool_edit", &TMainForm::BitBtn7Click},
        {nullptr, nullptr, nullptr},
        {"About", "tool_about", &TMainForm::ToolButton7Click},
        {nullptr, nullptr, nullptr},
        {"Exit", "tool_exit", &TMainForm::BitBtn3Click},
    };
    auto* bar = new QToolBar(QStringLiteral("ToolBar1"), this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(24, 24));
    bar->toggleViewAction()->setVisible(false);
    QFont small = bar->font();  // captions such as "LocalSearch" fit the 73 px buttons
    small.setPointSize(8);
    bar->setFont(small);
    for (const ToolEntry& e : entries) {
        if (!e.caption) {
            bar->addSeparator();
            continue;
        }
        auto* button = new QToolButton(bar);
        const QString caption = QString::fromLatin1(e.caption);
        button->setObjectName(caption);
        button->setText(caption);
        button->setIcon(ToolbarImage(e.image));
        button->setIconSize(QSize(24, 24));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setFixedSize(kToolButtonWidth, kToolButtonHeight);
        connect(button, &QToolButton::clicked, this, e.handler);
        bar->addWidget(button);
        tool_buttons_[caption] = button;
    }
    addToolBar(Qt::TopToolBarArea, bar);
}

void TMainForm::BuildMenus() {
    QMenuBar* bar = menuBar();
    QMenu* device = bar->addMenu(QStringLiteral("Device(&D)"));
    device->addAction(QStringLiteral("Local Search"), this, &TMainForm::BitBtn4Click);
    device->addAction(QStringLiteral("Addressbook Search"), this, &TMainForm::ToolButton2Click);
    // Off unless the user turned it on in an earlier run: the list then takes only the VKB220 from
    // the broadcast search.
    all_models_ = device->addAction(QString::fromLatin1(kAllModelsCaption));
    all_models_->setCheckable(true);
    const bool on = QSettings().value(QString::fromLatin1(kAllModelsSetting), false).toBool();
    all_models_->setChecked(on);
    commands_->local_search().SetAllModels(on);
    connect(all_models_, &QAction::toggled, this, &TMainForm::AllModelsToggled);
    // "All" (the library's own broadcast address) unless interfaces were chosen in an earlier run.
    search_interfaces_ = device->addAction(QString::fromLatin1(kSearchInterfacesItem), this,
                                           &TMainForm::SearchInterfacesClick);
    search_interfaces_->setEnabled(can_choose_interfaces_);
    std::vector<std::string> chosen;
    for (const QString& name :
         QSettings().value(QString::fromLatin1(kSearchInterfacesSetting)).toStringList())
        chosen.push_back(name.toStdString());
    if (can_choose_interfaces_) commands_->SetSearchInterfaces(chosen);
    QMenu* book = bar->addMenu(QStringLiteral("Addressbook(&A)"));
    book->addAction(QStringLiteral("Add"), this, &TMainForm::BitBtn5Click);
    book->addAction(QStringLiteral("Del"), this, &TMainForm::BitBtn6Click);
    book->addAction(QStringLiteral("Edit"), this, &TMainForm::BitBtn7Click);
    QMenu* tools = bar->addMenu(QStringLiteral("Tools(&T)"));
    tools->addAction(QStringLiteral("Update..."), this, &TMainForm::N7Click);
    QMenu* help = bar->addMenu(QStringLiteral("Help(&H)"));
    help->addAction(QStringLiteral("About Torvane"), this, &TMainForm::ToolButton7Click);
    bar->addAction(QStringLiteral("Exit(&E)"), this, &TMainForm::BitBtn3Click);
}

void TMainForm::BuildPopupMenu() {
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    popup_->addAction(QStringLiteral("Search"));  // has no handler
    popup_->addAction(QStringLiteral("Update..."), this, &TMainForm::N7Click);
    popup_->addAction(QStringLiteral("Device Information"), this, &TMainForm::ListView1DblClick);
}

void TMainForm::BuildStatusBar() {
    static const StatusPanelInfo panels[] = {
        {60, Qt::AlignRight | Qt::AlignVCenter, "设备数量"},
        {40, Qt::AlignCenter, ""},
        {50, Qt::AlignLeft | Qt::AlignVCenter, ""},
    };
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);
    for (const StatusPanelInfo& p : panels) {
        auto* label = new QLabel(QString::fromUtf8(p.text), bar);
        label->setFixedWidth(p.width);
        label->setAlignment(p.alignment);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(label);
        status_panels_.push_back(label);
    }
}

QToolButton* TMainForm::ToolButton(const QString& caption) const {
    const auto it = tool_buttons_.find(caption);
    return it == tool_buttons_.end() ? nullptr : it->second;
}

}  // namespace torvane::ui
