// Acting in the update window once it has opened: its FormShow is queued by its show and runs in the
// window's own event loop, after which the window's controls show what the device and the files said.
#pragma once

#include <functional>

#include "gui/gui_support.h"
#include "ui/update/form_update.h"

namespace torvane::test {

inline void WhenUpdateWindowOpened(std::function<void(ui::TFormUpdate*)> act) {
    WhenWindowShown(
        [](QWidget* w) {
            auto* window = qobject_cast<ui::TFormUpdate*>(w);
            return window && window->Opened();
        },
        [act = std::move(act)](QWidget* w) { act(qobject_cast<ui::TFormUpdate*>(w)); });
}

}  // namespace torvane::test
