#include "ui/row_images.h"

#include <QString>

// The images are compiled into this static library; its resource initialiser would be dropped by the
// linker as unreferenced unless called. (At global scope: the macro declares the initialiser there.)
static void InitImages() {
    static const bool done = [] {
        Q_INIT_RESOURCE(images);
        return true;
    }();
    (void)done;
}

namespace torvane::ui {

QIcon RowImage(int index) {
    InitImages();
    if (index < 0 || index >= kRowImageCount) return {};
    return QIcon(QString(":/images/row%1.png").arg(index));
}

QIcon ToolbarImage(const char* name) {
    InitImages();
    return QIcon(QString(":/images/%1.png").arg(QLatin1String(name)));
}

}  // namespace torvane::ui
