// The local server only ever listens on, and its tests only ever call,
// 127.0.0.1: an address written in digits, which needs no name service. On
// Linux the build sends the HTTP layer's look-ups of addresses here (it renames
// getaddrinfo and freeaddrinfo for every file that includes the layer), so the
// static autore links no part of the C library's name service, which would
// otherwise have to be the very same version on the author's machine. A name,
// even "localhost", is not looked up: it gets EAI_NONAME. The Host that a
// request gives is checked apart from this, as text.

#ifndef _WIN32
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// One block for the answer and its address, freed at once.
struct Answer {
    addrinfo info;
    sockaddr_storage address;
};

// A port in digits, 0 to 65535 ("http" and other service names are not looked up).
bool port_of(const char* service, uint16_t& port)
{
    if (service == nullptr) {
        port = 0;
        return true;
    }
    const char* end = service + std::strlen(service);
    unsigned value = 0;
    const auto [at, problem] = std::from_chars(service, end, value);
    if (problem != std::errc() || at != end || service == end || value > 65535)
        return false;
    port = static_cast<uint16_t>(value);
    return true;
}

} // namespace

extern "C" int autore_numeric_getaddrinfo(const char* node, const char* service, const struct addrinfo* hints,
                                          struct addrinfo** result)
{
    if (result == nullptr)
        return EAI_FAIL;
    *result = nullptr;
    const int family = hints != nullptr ? hints->ai_family : AF_UNSPEC;
    const int flags = hints != nullptr ? hints->ai_flags : 0;
    uint16_t port = 0;
    if (!port_of(service, port))
        return EAI_SERVICE;

    auto* answer = static_cast<Answer*>(std::calloc(1, sizeof(Answer)));
    if (answer == nullptr)
        return EAI_MEMORY;
    auto* v4 = reinterpret_cast<sockaddr_in*>(&answer->address);
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&answer->address);
    if (node == nullptr && family != AF_INET6) {
        // No address: every address of this machine to listen on, or its own loopback.
        v4->sin_family = AF_INET;
        v4->sin_addr.s_addr = htonl((flags & AI_PASSIVE) != 0 ? INADDR_ANY : INADDR_LOOPBACK);
    } else if (node == nullptr) {
        v6->sin6_family = AF_INET6;
        v6->sin6_addr = (flags & AI_PASSIVE) != 0 ? in6addr_any : in6addr_loopback;
    } else if (family != AF_INET6 && inet_pton(AF_INET, node, &v4->sin_addr) == 1) {
        v4->sin_family = AF_INET;
    } else if (family != AF_INET && inet_pton(AF_INET6, node, &v6->sin6_addr) == 1) {
        v6->sin6_family = AF_INET6;
    } else {
        std::free(answer);
        return EAI_NONAME;
    }
    addrinfo& info = answer->info;
    info.ai_family = answer->address.ss_family;
    if (info.ai_family == AF_INET) {
        v4->sin_port = htons(port);
        info.ai_addrlen = sizeof(sockaddr_in);
    } else {
        v6->sin6_port = htons(port);
        info.ai_addrlen = sizeof(sockaddr_in6);
    }
    info.ai_socktype = hints != nullptr && hints->ai_socktype != 0 ? hints->ai_socktype : SOCK_STREAM;
    info.ai_protocol = hints != nullptr ? hints->ai_protocol : 0;
    info.ai_addr = reinterpret_cast<sockaddr*>(&answer->address);
    *result = &info;
    return 0;
}

extern "C" void autore_numeric_freeaddrinfo(struct addrinfo* result) noexcept
{
    // The answer's first member: the block itself.
    std::free(result);
}

#endif
