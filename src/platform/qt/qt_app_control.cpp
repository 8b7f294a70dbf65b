#include "platform/qt/qt_app_control.h"

#include <QCoreApplication>
#include <QProcess>

namespace tarmacia::platform::qt {

// Queued, so that a quit asked for before the event loop runs still ends it.
void QtAppControl::quit() {
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                              Qt::QueuedConnection);
}

void QtAppControl::startNewInstance(const std::string& workingFolder) {
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments,
                            QString::fromStdString(workingFolder));
}

} // namespace tarmacia::platform::qt
