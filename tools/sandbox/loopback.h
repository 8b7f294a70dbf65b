#pragma once
// What every sandbox server shares: it listens on 127.0.0.x only, and tests
// wait on it with a bound instead of sleeping.

#include <QHostAddress>
#include <QString>

#include <functional>

class QTcpServer;

namespace sandbox {

// Listens when `address` is in 127.0.0.0/8; otherwise, or when listening
// fails, says why in `error` and answers false.
bool listenOnLoopback(QTcpServer& server, const QHostAddress& address, quint16 port,
                      QString& error);

// Runs the event loop until `condition` holds or `timeoutMs` has passed, and
// answers whether it holds.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs);

} // namespace sandbox
