#include "platform/qt/qt_app_control.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

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

namespace tarmacia::platform::qt {

void QtAppControl::openUrl(const std::string& url) {
    QUrl target(QString::fromStdString(url));
    // Only web pages leave the client; anything else could start a program.
    if (target.scheme() != QLatin1String("http") && target.scheme() != QLatin1String("https"))
        return;
    QDesktopServices::openUrl(target);
}

} // namespace tarmacia::platform::qt
