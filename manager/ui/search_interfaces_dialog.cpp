#include "ui/search_interfaces_dialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

namespace torvane::ui {
namespace {

constexpr int kNameRole = Qt::UserRole;

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// "eth1 (10.9.5.1, broadcast 10.9.5.255)", an interface with several addresses lists each, one that
// is down says so.
QString InterfaceText(const std::string& name, const std::vector<const NetworkInterface*>& addresses) {
    QString text = QString::fromStdString(name) + QStringLiteral(" (");
    for (size_t i = 0; i < addresses.size(); ++i) {
        if (i > 0) text += QStringLiteral("; ");
        text += QString::fromStdString(addresses[i]->address + ", broadcast " + addresses[i]->broadcast);
    }
    const bool up = std::any_of(addresses.begin(), addresses.end(), [](const auto* a) { return a->up; });
    return text + (up ? QStringLiteral(")") : QStringLiteral(", down)"));
}

}  // namespace

SearchInterfacesDialog::SearchInterfacesDialog(const std::vector<NetworkInterface>& interfaces,
                                               const std::vector<std::string>& chosen, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      list_(new QListWidget(this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
    setObjectName(QStringLiteral("SearchInterfacesForm"));
    setWindowTitle(QString::fromLatin1(kSearchInterfacesCaption));
    setModal(true);
    resize(380, 240);

    auto* label = new QLabel(QStringLiteral("Search for devices through:"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addLayout(buttons);

    AddItem(QString::fromLatin1(kAllInterfacesItem), QString(), chosen.empty());
    std::vector<std::string> order;
    std::map<std::string, std::vector<const NetworkInterface*>> by_name;
    for (const auto& i : interfaces) {
        if (!by_name.count(i.name)) order.push_back(i.name);
        by_name[i.name].push_back(&i);
    }
    for (const auto& name : order)
        AddItem(InterfaceText(name, by_name[name]), QString::fromStdString(name), Contains(chosen, name));
    for (const auto& name : chosen) {
        if (!by_name.count(name))
            AddItem(QString::fromStdString(name) + QStringLiteral(" (not present)"),
                    QString::fromStdString(name), true);
    }
    connect(list_, &QListWidget::itemChanged, this, &SearchInterfacesDialog::ItemChanged);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void SearchInterfacesDialog::AddItem(const QString& text, const QString& name, bool checked) {
    auto* item = new QListWidgetItem(text, list_);
    item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
    item->setData(kNameRole, name);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void SearchInterfacesDialog::ItemChanged(QListWidgetItem* changed) {
    if (adjusting_) return;
    adjusting_ = true;
    QListWidgetItem* all = list_->item(0);
    if (changed->checkState() == Qt::Checked) {
        // "All" and the interfaces exclude each other.
        for (int i = 0; i < list_->count(); ++i) {
            QListWidgetItem* item = list_->item(i);
            if (item != changed && (changed == all || item == all)) item->setCheckState(Qt::Unchecked);
        }
    } else if (Chosen().empty()) {
        all->setCheckState(Qt::Checked);
    }
    adjusting_ = false;
}

std::vector<std::string> SearchInterfacesDialog::Chosen() const {
    std::vector<std::string> names;
    for (int i = 1; i < list_->count(); ++i) {
        const QListWidgetItem* item = list_->item(i);
        if (item->checkState() == Qt::Checked)
            names.push_back(item->data(kNameRole).toString().toStdString());
    }
    return names;
}

}  // namespace torvane::ui
