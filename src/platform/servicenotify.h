#pragma once
// The service manager's notification protocol: a process that systemd started with
// Type=notify tells it that it is ready, what it is doing and that it stops, in datagrams of
// NAME=VALUE lines sent to the socket named in $NOTIFY_SOCKET.
#include <QByteArray>

namespace kov {
/// Sends `state` (for example "READY=1\nSTATUS=...") to the service manager. False, and
/// nothing done, when the process was not started with a notification socket; false too when
/// the datagram cannot be sent, which the caller may ignore: the service runs on without it.
bool notifyServiceManager(const QByteArray& state);
} // namespace kov
