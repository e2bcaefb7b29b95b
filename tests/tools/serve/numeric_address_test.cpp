// The HTTP layer's look-ups of addresses, which the build sends to a reading
// of addresses in digits only: 127.0.0.1 and the like are read, a port must be
// digits, and a name is never looked up, so the static autore needs no name
// service of the C library.
#ifndef _WIN32
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netdb.h>
#include <netinet/in.h>

#include <string>
#include <vector>

namespace {

TEST(NumericAddress, ReadsAddressesInDigitsAndNoNames)
{
    struct Case {
        const char* node;
        const char* service;
        int family;
        int flags;
        int status;         // 0, or the EAI_ refusal
        int answer_family;  // of the address given back
        std::string address;
        int port;
    };
    const std::vector<Case> cases = {
        {"127.0.0.1", "8080", AF_UNSPEC, 0, 0, AF_INET, "127.0.0.1", 8080},
        {"127.0.0.1", "0", AF_INET, AI_PASSIVE, 0, AF_INET, "127.0.0.1", 0},
        {"::1", "65535", AF_UNSPEC, 0, 0, AF_INET6, "::1", 65535},
        {nullptr, "80", AF_UNSPEC, AI_PASSIVE, 0, AF_INET, "0.0.0.0", 80},
        {nullptr, "80", AF_UNSPEC, 0, 0, AF_INET, "127.0.0.1", 80},
        {"localhost", "80", AF_UNSPEC, 0, EAI_NONAME, 0, "", 0},
        {"rebinding.example", "80", AF_UNSPEC, 0, EAI_NONAME, 0, "", 0},
        {"::1", "80", AF_INET, 0, EAI_NONAME, 0, "", 0},
        {"127.0.0.1", "http", AF_UNSPEC, 0, EAI_SERVICE, 0, "", 0},
        {"127.0.0.1", "65536", AF_UNSPEC, 0, EAI_SERVICE, 0, "", 0},
        {"127.0.0.1", "", AF_UNSPEC, 0, EAI_SERVICE, 0, "", 0},
        {"127.0.0.1", "-1", AF_UNSPEC, 0, EAI_SERVICE, 0, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.node ? c.node : "(none)") + " " + c.service);
        addrinfo hints{};
        hints.ai_family = c.family;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = c.flags;
        addrinfo* result = nullptr;
        ASSERT_EQ(getaddrinfo(c.node, c.service, &hints, &result), c.status);
        if (c.status != 0) {
            EXPECT_EQ(result, nullptr);
            continue;
        }
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->ai_next, nullptr);
        EXPECT_EQ(result->ai_socktype, SOCK_STREAM);
        ASSERT_EQ(result->ai_family, c.answer_family);
        char text[INET6_ADDRSTRLEN] = {};
        if (c.answer_family == AF_INET) {
            const auto* a = reinterpret_cast<const sockaddr_in*>(result->ai_addr);
            EXPECT_EQ(result->ai_addrlen, sizeof(sockaddr_in));
            EXPECT_EQ(ntohs(a->sin_port), c.port);
            inet_ntop(AF_INET, &a->sin_addr, text, sizeof text);
        } else {
            const auto* a = reinterpret_cast<const sockaddr_in6*>(result->ai_addr);
            EXPECT_EQ(result->ai_addrlen, sizeof(sockaddr_in6));
            EXPECT_EQ(ntohs(a->sin6_port), c.port);
            inet_ntop(AF_INET6, &a->sin6_addr, text, sizeof text);
        }
        EXPECT_EQ(std::string(text), c.address);
        freeaddrinfo(result);
    }
}

} // namespace
#endif
