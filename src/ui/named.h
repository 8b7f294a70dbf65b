#pragma once
// Widgets are found by tests and screen readers under their caption.

#include <QString>

namespace tarmacia::ui {

template <typename W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    widget->setAccessibleName(name);
    return widget;
}

} // namespace tarmacia::ui
