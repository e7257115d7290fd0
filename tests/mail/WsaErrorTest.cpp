#include "WsaError.h"

#include <gtest/gtest.h>

#include <netdb.h>

#include <cerrno>
#include <thread>
#include <utility>
#include <vector>

namespace {

TEST(WsaError, PosixErrorsBecomeWindowsSocketsNumbers)
{
    const std::vector<std::pair<int, int32_t>> cases = {
        {EAGAIN, 10060}, {EWOULDBLOCK, 10060}, {ETIMEDOUT, 10060},  // a recv time-out is a time-out
        {ECONNREFUSED, 10061}, {ECONNRESET, 10054}, {EPIPE, 10054},
        {EHOSTUNREACH, 10065}, {ENETUNREACH, 10051}, {ENETDOWN, 10050},
        {EINTR, 10004}, {EBADF, 10009}, {EACCES, 10013}, {EFAULT, 10014}, {EINVAL, 10022},
        {EMFILE, 10024}, {ENFILE, 10024}, {ENOTSOCK, 10038}, {EADDRINUSE, 10048},
        {EADDRNOTAVAIL, 10049}, {ECONNABORTED, 10053}, {ENOBUFS, 10055}, {ENOMEM, 10055},
        {EISCONN, 10056}, {ENOTCONN, 10057}, {ESHUTDOWN, 10058}, {EHOSTDOWN, 10064},
        {EAFNOSUPPORT, 10047}, {EINPROGRESS, 10036}, {EALREADY, 10037},
        {ENOENT, 10107}, {0, 10107}, {-1, 10107}, {100000, 10107},  // no counterpart
    };
    for (const auto &[error, number] : cases)
        EXPECT_EQ(wsa::FromErrno(error), number) << "errno " << error;
}

TEST(WsaError, ResolverFailuresBecomeTheHostLookupNumbers)
{
    const std::vector<std::pair<int, int32_t>> cases = {
        {EAI_NONAME, 11001}, {EAI_AGAIN, 11002}, {EAI_FAIL, 11003},
        {EAI_NODATA, 11004}, {EAI_ADDRFAMILY, 11004}, {EAI_MEMORY, 10055},
        {EAI_SERVICE, 11001},
    };
    for (const auto &[result, number] : cases)
        EXPECT_EQ(wsa::FromResolver(result, 0), number) << "result " << result;
    EXPECT_EQ(wsa::FromResolver(EAI_SYSTEM, ECONNREFUSED), 10061);
}

TEST(WsaError, TheLastErrorBelongsToTheThread)
{
    int32_t seenByOther = -1;
    std::thread([&] {
        wsa::SetLastError(10060);
        std::thread([&] { seenByOther = wsa::LastError(); }).join();
        EXPECT_EQ(wsa::LastError(), 10060);
    }).join();
    EXPECT_EQ(seenByOther, 0);
}

}  // namespace
