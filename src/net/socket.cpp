// TCP client sockets: the exports. The caller holds every socket value; the
// library keeps only the layer's loaded flag. Failures of the platform become
// error 2 with the Winsock number (or -1 where the platform gave no code).
#include "core/frame.h"
#include "net/socket_connect.h"
#include "net/socket_layer.h"
#include "net/socket_platform.h"

using namespace zyn;

namespace {

constexpr int32_t kNoCode = -1; // the platform's failure value, not an error code

// The part every operation on a socket shares: the frame, then the layer
// test (error 11) and the socket variable (error 5 when missing).
template <class Work>
int on_socket(zyn_socket* sock, Work&& work)
{
    return frame::full(0, [&] {
        if (!net::socket_layer::loaded())
            return frame::fail(ZYN_ERR_SOCKETS_NOT_LOADED, 0);
        if (sock == nullptr)
            return frame::fail(ZYN_ERR_INVALID_ARGUMENT, 0);
        return work(*sock);
    });
}

// A receive or send: error 2 with the thread's socket error only when the
// call itself failed. A stale socket error left from an earlier call does
// not turn a successful transfer into a failure.
template <class Transfer>
int transfer(zyn_socket* sock, const void* buffer, int32_t length, Transfer&& call)
{
    return on_socket(sock, [&](zyn_socket s) {
        int result;
        if (length < 0) {
            // A negative length would reach the platform as a huge size.
            net::os::set_last_error(ZYN_WSAEINVAL);
            result = -1;
        } else if (buffer == nullptr && length > 0) {
            net::os::set_last_error(ZYN_WSAEFAULT);
            result = -1;
        } else {
            result = call(s);
        }
        if (result == -1)
            core::set_error(ZYN_ERR_CALL_FAILED, net::os::last_error());
        return result;
    });
}

} // namespace

bool zyn::net::connect_first(const addrinfo* first, zyn_socket& out) noexcept
{
    out = ZYN_INVALID_SOCKET;
    for (const addrinfo* a = first; a != nullptr; a = net::os::next_address(a)) {
        // No socket for this address's family: its error stays the thread's
        // socket error, and the next address may still do.
        const zyn_socket s = net::os::open_for(a);
        if (s == ZYN_INVALID_SOCKET)
            continue;
        if (net::os::connect_to(s, a)) {
            out = s;
            return true;
        }
        // Closing keeps the connect's error as the thread's socket error.
        const int32_t refused = net::os::last_error();
        net::os::close(s);
        net::os::set_last_error(refused);
    }
    return false;
}

ZYN_EXPORT int ZYN_CALL zyn_socket_load(void)
{
    return frame::full(0, [] {
        if (net::socket_layer::loaded())
            return frame::fail(ZYN_ERR_ALREADY_LOADED, 0);
        if (const int refused = net::socket_layer::start())
            return frame::fail(ZYN_ERR_CALL_FAILED, 0, refused);
        return 1;
    });
}

ZYN_EXPORT int ZYN_CALL zyn_socket_isloaded(void) { return net::socket_layer::loaded() ? 1 : 0; }

ZYN_EXPORT int ZYN_CALL zyn_socket_unload(void)
{
    return frame::full(0, [] {
        net::socket_layer::stop();
        return 1;
    });
}

ZYN_EXPORT int ZYN_CALL zyn_socket_connect(const char* host, const char* port, zyn_socket* sock)
{
    return on_socket(sock, [&](zyn_socket& out) {
        addrinfo* first = nullptr;
        if (const int32_t code = net::os::resolve(host, port, &first))
            return frame::fail(ZYN_ERR_CALL_FAILED, 0, code); // the variable is not touched
        const bool connected = net::connect_first(first, out);
        net::os::release_addresses(first);
        return connected ? 1 : frame::fail(ZYN_ERR_CALL_FAILED, 0, kNoCode);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_socket_close(zyn_socket* sock)
{
    return on_socket(sock, [](zyn_socket s) {
        const int result = net::os::close(s);
        return result == 0 ? 1 : frame::fail(ZYN_ERR_CALL_FAILED, 0, result);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_socket_io(zyn_socket* sock, int32_t command, uint32_t* argument)
{
    return on_socket(sock, [&](zyn_socket s) {
        if (argument == nullptr) {
            net::os::set_last_error(ZYN_WSAEFAULT);
            return frame::fail(ZYN_ERR_CALL_FAILED, 0, kNoCode);
        }
        const int result = net::os::control(s, command, argument);
        return result == 0 ? 1 : frame::fail(ZYN_ERR_CALL_FAILED, 0, result);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_socket_geterror(void) { return net::os::last_error(); }

ZYN_EXPORT int ZYN_CALL zyn_socket_recv(zyn_socket* sock, void* buffer, int32_t length)
{
    return transfer(sock, buffer, length, [&](zyn_socket s) { return net::os::receive(s, buffer, length); });
}

ZYN_EXPORT int ZYN_CALL zyn_socket_send(zyn_socket* sock, const void* buffer, int32_t length)
{
    return transfer(sock, buffer, length, [&](zyn_socket s) { return net::os::transmit(s, buffer, length); });
}
