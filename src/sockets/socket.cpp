// TCP client sockets: the exports. The caller holds every socket value; the
// library keeps only the layer's loaded flag. Failures of the platform become
// error 2 with the Winsock number (or -1 where the platform gave no code).
#include "core/frame.h"
#include "core/release.h"
#include "sockets/socket_connect.h"
#include "sockets/socket_sys.h"

using namespace zyn;

namespace {

// Stands for one successful startup of the platform's socket services not yet
// matched by a cleanup. Sockets themselves are the caller's; nothing follows them.
bool g_sockets_loaded = false;

// Takes the services down when they are up; sockets the caller holds stay open.
void stop_layer() noexcept
{
    if (!g_sockets_loaded)
        return;
    sockets::sys::cleanup();
    g_sockets_loaded = false;
}

constexpr int32_t kNoCode = -1; // the platform's failure value, not an error code

// The part every operation on a socket shares: the frame, then the layer
// test (error 11) and the socket variable (error 5 when missing).
template <class Work>
int on_socket(zyn_socket* sock, Work&& work)
{
    return frame::full(0, [&] {
        if (!g_sockets_loaded)
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
            sockets::sys::set_last_error(ZYN_WSAEINVAL);
            result = -1;
        } else if (buffer == nullptr && length > 0) {
            sockets::sys::set_last_error(ZYN_WSAEFAULT);
            result = -1;
        } else {
            result = call(s);
        }
        if (result == -1)
            core::set_error(ZYN_ERR_CALL_FAILED, sockets::sys::last_error());
        return result;
    });
}

} // namespace

bool zyn::sockets::connect_first(const addrinfo* first, zyn_socket& out) noexcept
{
    out = ZYN_INVALID_SOCKET;
    for (const addrinfo* a = first; a != nullptr; a = sockets::sys::next_address(a)) {
        // No socket for this address's family: its error stays the thread's
        // socket error, and the next address may still do.
        const zyn_socket s = sockets::sys::open_for(a);
        if (s == ZYN_INVALID_SOCKET)
            continue;
        if (sockets::sys::connect_to(s, a)) {
            out = s;
            return true;
        }
        // Closing keeps the connect's error as the thread's socket error.
        const int32_t refused = sockets::sys::last_error();
        sockets::sys::close(s);
        sockets::sys::set_last_error(refused);
    }
    return false;
}

ZYN_EXPORT int ZYN_CALL zyn_socket_load(void)
{
    return frame::full(0, [] {
        if (g_sockets_loaded)
            return frame::fail(ZYN_ERR_ALREADY_LOADED, 0);
        if (const int32_t refused = sockets::sys::startup())
            return frame::fail(ZYN_ERR_CALL_FAILED, 0, refused);
        g_sockets_loaded = true;
        return 1;
    });
}

ZYN_EXPORT int ZYN_CALL zyn_socket_isloaded(void) { return g_sockets_loaded ? 1 : 0; }

ZYN_EXPORT int ZYN_CALL zyn_socket_unload(void)
{
    return frame::full(0, [] {
        stop_layer();
        return 1;
    });
}

ZYN_EXPORT int ZYN_CALL zyn_socket_connect(const char* host, const char* port, zyn_socket* sock)
{
    return on_socket(sock, [&](zyn_socket& out) {
        addrinfo* first = nullptr;
        if (const int32_t code = sockets::sys::resolve(host, port, &first))
            return frame::fail(ZYN_ERR_CALL_FAILED, 0, code); // the variable is not touched
        const bool connected = sockets::connect_first(first, out);
        sockets::sys::release_addresses(first);
        return connected ? 1 : frame::fail(ZYN_ERR_CALL_FAILED, 0, kNoCode);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_socket_close(zyn_socket* sock)
{
    return on_socket(sock, [](zyn_socket s) {
        const int result = sockets::sys::close(s);
        return result == 0 ? 1 : frame::fail(ZYN_ERR_CALL_FAILED, 0, result);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_socket_io(zyn_socket* sock, int32_t command, uint32_t* argument)
{
    return on_socket(sock, [&](zyn_socket s) {
        if (argument == nullptr) {
            sockets::sys::set_last_error(ZYN_WSAEFAULT);
            return frame::fail(ZYN_ERR_CALL_FAILED, 0, kNoCode);
        }
        const int result = sockets::sys::control(s, command, argument);
        return result == 0 ? 1 : frame::fail(ZYN_ERR_CALL_FAILED, 0, result);
    });
}

ZYN_EXPORT int ZYN_CALL zyn_socket_geterror(void) { return sockets::sys::last_error(); }

ZYN_EXPORT int ZYN_CALL zyn_socket_recv(zyn_socket* sock, void* buffer, int32_t length)
{
    return transfer(sock, buffer, length, [&](zyn_socket s) { return sockets::sys::receive(s, buffer, length); });
}

ZYN_EXPORT int ZYN_CALL zyn_socket_send(zyn_socket* sock, const void* buffer, int32_t length)
{
    return transfer(sock, buffer, length, [&](zyn_socket s) { return sockets::sys::transmit(s, buffer, length); });
}

// zyn_unload's socket step: stop the layer as zyn_socket_unload does.
void zyn::release::socket_layer() { stop_layer(); }
