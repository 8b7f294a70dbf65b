#include "ui/widget_window.h"

#include "platform/guard.h"

#include <QEvent>

namespace tarmacia::ui {

WidgetWindow::WidgetWindow(QWidget* widget) : widget_(widget) { widget_->installEventFilter(this); }

void WidgetWindow::setCaption(const std::string& caption) {
    widget_->setWindowTitle(QString::fromStdString(caption));
    widget_->setAccessibleName(widget_->windowTitle());
}

std::string WidgetWindow::caption() const { return widget_->windowTitle().toStdString(); }

void WidgetWindow::show() {
    widget_->setWindowModality(Qt::NonModal);
    widget_->show();
}

void WidgetWindow::showModal() {
    widget_->setWindowModality(Qt::ApplicationModal);
    widget_->show();
    widget_->raise();
}

void WidgetWindow::hide() { widget_->hide(); }
void WidgetWindow::close() { widget_->close(); }
bool WidgetWindow::isVisible() const { return widget_->isVisible(); }

void WidgetWindow::restore() {
    widget_->setWindowState(widget_->windowState() & ~Qt::WindowMinimized);
    widget_->show();
}

void WidgetWindow::move(int left, int top) { widget_->move(left, top); }

bool WidgetWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == widget_ && event->type() == QEvent::Close && closed_)
        platform::guarded(closed_);
    return false;
}

} // namespace tarmacia::ui
