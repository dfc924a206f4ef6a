// "Search Interfaces": the interfaces through which the local search broadcasts. The first item, "All
// (255.255.255.255)", is the library's own broadcast address, as before any interface was chosen; each
// other item is one network interface by name with its IPv4 addresses and directed broadcast
// addresses. Checking "All" clears the others, checking an interface clears "All", and with nothing
// checked "All" is checked again. "OK" keeps the choice, "Cancel" drops it.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "core/search_route.h"

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace torvane::ui {

inline constexpr const char* kSearchInterfacesCaption = "Search Interfaces";
inline constexpr const char* kAllInterfacesItem = "All (255.255.255.255)";

class SearchInterfacesDialog final : public QDialog {
    Q_OBJECT
  public:
    // `interfaces`: the workstation's addresses; `chosen`: the names chosen so far (empty: All). A
    // chosen name that no interface carries now is listed as well, so that it can be unchecked.
    SearchInterfacesDialog(const std::vector<NetworkInterface>& interfaces,
                           const std::vector<std::string>& chosen, QWidget* owner = nullptr);

    // The checked interfaces' names in the list's order; empty when "All" is checked.
    std::vector<std::string> Chosen() const;

    QListWidget* List() const { return list_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* CancelButton() const { return cancel_; }

  private:
    void AddItem(const QString& text, const QString& name, bool checked);
    void ItemChanged(QListWidgetItem* item);

    QListWidget* list_;
    QPushButton* ok_;
    QPushButton* cancel_;
    bool adjusting_ = false;
};

}  // namespace torvane::ui
