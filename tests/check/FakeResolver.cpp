// The newest-first provider's host name is fictional. This test program
// resolves it, in any letter case as DNS would, to 127.0.0.1, where the
// scripted server listens; every other name goes to the system's resolver.
// Defining getaddrinfo here takes the place of the C library's for the whole
// program, the POP3 client's socket included.

#include "CodePage.h"
#include "NewestFirst.h"

#include <dlfcn.h>
#include <netdb.h>

extern "C" int getaddrinfo(const char *node, const char *service, const addrinfo *hints,
                           addrinfo **result) noexcept
{
    using Resolver = int (*)(const char *, const char *, const addrinfo *, addrinfo **);
    static const auto next = reinterpret_cast<Resolver>(::dlsym(RTLD_NEXT, "getaddrinfo"));
    if (node != nullptr && codepage::equalsNoCase(node, kNewestFirstPop3Host))
        node = "127.0.0.1";
    return next(node, service, hints, result);
}
