#include "servicenotify.h"

#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

bool kov::notifyServiceManager(const QByteArray& state)
{
    const QByteArray path = qgetenv("NOTIFY_SOCKET");
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // A path in the file system, or '@' and a name in the abstract namespace.
    if (path.size() < 2 || (path[0] != '/' && path[0] != '@') ||
        static_cast<std::size_t>(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    if (path[0] == '@')
        address.sun_path[0] = '\0'; // an abstract name is exactly its bytes, without a NUL
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size());
    const int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const ssize_t sent = sendto(fd, state.constData(), static_cast<std::size_t>(state.size()),
                                MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&address), length);
    close(fd);
    return sent == state.size();
}
