#include "ui/application.h"

#include <QCoreApplication>

namespace torvane::ui {

void PrepareApplication() {
    QCoreApplication::setOrganizationName(QStringLiteral("Torvane"));
    QCoreApplication::setApplicationName(QStringLiteral("Torvane"));
}

}  // namespace torvane::ui
