// TCP sockets on POSIX. Errors are kept as Winsock numbers in a per-thread
// slot, the way Winsock keeps its last error: a failing call sets it, a
// successful one leaves it as it was.
#include "sockets/socket_sys.h"
#include "sockets/linux/socket_error_map.h"

#include <cerrno>
#include <climits>
#include <netdb.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zyn::sockets::sys {
namespace {

thread_local int32_t t_last_error = 0;

// Records errno as it stands after a failed call; returns -1 for the caller.
int failed() noexcept
{
    t_last_error = wsa_from_errno(errno);
    return -1;
}

// A socket value names a descriptor only when it fits one; any other value
// (ZYN_INVALID_SOCKET among them) is refused rather than cut down to some
// unrelated descriptor.
int descriptor(zyn_socket socket) noexcept
{
    return socket <= zyn_socket(INT_MAX) ? int(socket) : -1;
}

// Close and control act on sockets only. Any other descriptor (a zero-filled
// variable names standard input; a stale value may name a file opened since)
// is refused as Winsock refuses a value that is no socket, rather than
// closed or switched to non-blocking behind its owner's back.
int socket_descriptor(zyn_socket socket) noexcept
{
    const int fd = descriptor(socket);
    struct stat info;
    if (fd < 0 || ::fstat(fd, &info) != 0) {
        errno = EBADF;
        return -1;
    }
    if (!S_ISSOCK(info.st_mode)) {
        errno = ENOTSOCK;
        return -1;
    }
    return fd;
}

// The Winsock command numbers, so game code passes the same values everywhere.
constexpr uint32_t kWinFionbio = 0x8004667Eu;
constexpr uint32_t kWinFionread = 0x4004667Fu;

} // namespace

int32_t startup() noexcept { return 0; } // POSIX sockets need no start
void cleanup() noexcept {}

int32_t resolve(const char* host, const char* port, addrinfo** first) noexcept
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    errno = 0;
    const int result = getaddrinfo(host, port, &hints, first);
    if (result == 0)
        return 0;
    t_last_error = wsa_from_resolver(result, errno);
    return t_last_error;
}

addrinfo* next_address(const addrinfo* address) noexcept { return address->ai_next; }

void release_addresses(addrinfo* first) noexcept
{
    if (first != nullptr)
        freeaddrinfo(first);
}

zyn_socket open_for(const addrinfo* address) noexcept
{
    // Close-on-exec: a program the game starts does not inherit its connections.
    const int fd = ::socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC, address->ai_protocol);
    if (fd < 0) {
        failed();
        return ZYN_INVALID_SOCKET;
    }
    return zyn_socket(fd);
}

bool connect_to(zyn_socket socket, const addrinfo* address) noexcept
{
    const int fd = descriptor(socket);
    if (::connect(fd, address->ai_addr, address->ai_addrlen) == 0)
        return true;
    if (errno != EINTR)
        return failed(), false;
    // A signal cut the wait short; the connection goes on in the background.
    // Wait for its outcome as a blocking connect would have.
    pollfd p{fd, POLLOUT, 0};
    int ready;
    do
        ready = ::poll(&p, 1, -1);
    while (ready < 0 && errno == EINTR);
    if (ready < 0)
        return failed(), false;
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
        return failed(), false;
    if (error != 0) {
        errno = error;
        return failed(), false;
    }
    return true;
}

int close(zyn_socket socket) noexcept
{
    const int fd = socket_descriptor(socket);
    if (fd < 0)
        return failed();
    // Linux releases the descriptor even when close reports EINTR: not retried.
    return ::close(fd) == 0 ? 0 : failed();
}

int control(zyn_socket socket, int32_t command, uint32_t* argument) noexcept
{
    const int fd = socket_descriptor(socket);
    if (fd < 0)
        return failed();
    // Only commands whose argument is one 32-bit value: anything else could
    // make the system write past the caller's variable.
    const uint32_t cmd = uint32_t(command);
    int value = 0;
    if (cmd == kWinFionbio || cmd == uint32_t(FIONBIO)) {
        value = *argument != 0 ? 1 : 0;
        return ::ioctl(fd, FIONBIO, &value) == 0 ? 0 : failed();
    }
    if (cmd == kWinFionread || cmd == uint32_t(FIONREAD)) {
        if (::ioctl(fd, FIONREAD, &value) != 0)
            return failed();
        *argument = uint32_t(value);
        return 0;
    }
    errno = EINVAL;
    return failed();
}

int receive(zyn_socket socket, void* buffer, int32_t length) noexcept
{
    const int fd = descriptor(socket);
    ssize_t n;
    do
        n = ::recv(fd, buffer, size_t(length), 0);
    while (n < 0 && errno == EINTR);
    return n < 0 ? failed() : int(n);
}

int transmit(zyn_socket socket, const void* buffer, int32_t length) noexcept
{
    const int fd = descriptor(socket);
    ssize_t n;
    // MSG_NOSIGNAL: a peer that has gone away gives an error, never SIGPIPE.
    do
        n = ::send(fd, buffer, size_t(length), MSG_NOSIGNAL);
    while (n < 0 && errno == EINTR);
    return n < 0 ? failed() : int(n);
}

int32_t last_error() noexcept { return t_last_error; }
void set_last_error(int32_t code) noexcept { t_last_error = code; }

} // namespace zyn::sockets::sys
