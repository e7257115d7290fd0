#include "WsaError.h"

#include <netdb.h>

#include <cerrno>

namespace wsa {

namespace {
thread_local int32_t lastError = 0;
}

int32_t FromErrno(int error)
{
    switch (error) {
    case EINTR: return kInterrupted;
    case EBADF: return 10009;          // WSAEBADF
    case EACCES: return 10013;         // WSAEACCES
    case EFAULT: return kFault;
    case EINVAL: return 10022;         // WSAEINVAL
    case EMFILE:
    case ENFILE: return 10024;         // WSAEMFILE
    // A blocking recv() only gives EAGAIN when its SO_RCVTIMEO time-out ran out;
    // Windows Sockets reports that as a time-out.
    case EAGAIN:
    case ETIMEDOUT: return kTimedOut;
    case EINPROGRESS: return 10036;    // WSAEINPROGRESS
    case EALREADY: return 10037;       // WSAEALREADY
    case ENOTSOCK: return 10038;       // WSAENOTSOCK
    case EDESTADDRREQ: return 10039;   // WSAEDESTADDRREQ
    case EMSGSIZE: return 10040;       // WSAEMSGSIZE
    case EPROTOTYPE: return 10041;     // WSAEPROTOTYPE
    case ENOPROTOOPT: return 10042;    // WSAENOPROTOOPT
    case EPROTONOSUPPORT: return 10043;  // WSAEPROTONOSUPPORT
    case ESOCKTNOSUPPORT: return 10044;  // WSAESOCKTNOSUPPORT
    case EOPNOTSUPP: return 10045;     // WSAEOPNOTSUPP
    case EPFNOSUPPORT: return 10046;   // WSAEPFNOSUPPORT
    case EAFNOSUPPORT: return 10047;   // WSAEAFNOSUPPORT
    case EADDRINUSE: return 10048;     // WSAEADDRINUSE
    case EADDRNOTAVAIL: return 10049;  // WSAEADDRNOTAVAIL
    case ENETDOWN: return 10050;       // WSAENETDOWN
    case ENETUNREACH: return 10051;    // WSAENETUNREACH
    case ENETRESET: return 10052;      // WSAENETRESET
    case ECONNABORTED: return 10053;   // WSAECONNABORTED
    // EPIPE: the connection is gone (the peer reset it and the reset was
    // already reported once); Windows keeps reporting WSAECONNRESET then.
    case ECONNRESET:
    case EPIPE: return kConnectionReset;
    case ENOBUFS:
    case ENOMEM: return 10055;         // WSAENOBUFS
    case EISCONN: return 10056;        // WSAEISCONN
    case ENOTCONN: return 10057;       // WSAENOTCONN
    case ESHUTDOWN: return 10058;      // WSAESHUTDOWN
    case ETOOMANYREFS: return 10059;   // WSAETOOMANYREFS
    case ECONNREFUSED: return kConnectionRefused;
    case ELOOP: return 10062;          // WSAELOOP
    case ENAMETOOLONG: return 10063;   // WSAENAMETOOLONG
    case EHOSTDOWN: return 10064;      // WSAEHOSTDOWN
    case EHOSTUNREACH: return 10065;   // WSAEHOSTUNREACH
    case EDQUOT: return 10069;         // WSAEDQUOT
    case ESTALE: return 10070;         // WSAESTALE
    case EREMOTE: return 10071;        // WSAEREMOTE
    default: return kSystemCallFailure;
    }
}

int32_t FromResolver(int result, int systemError)
{
    switch (result) {
    case EAI_AGAIN: return 11002;      // WSATRY_AGAIN
    case EAI_FAIL: return 11003;       // WSANO_RECOVERY
    case EAI_NODATA:
    case EAI_ADDRFAMILY: return 11004; // WSANO_DATA: the name has no IPv4 address
    case EAI_MEMORY: return 10055;     // WSAENOBUFS
    case EAI_SYSTEM: return FromErrno(systemError);
    default: return kHostNotFound;     // EAI_NONAME and the rest
    }
}

int32_t LastError()
{
    return lastError;
}

void SetLastError(int32_t error)
{
    lastError = error;
}

}  // namespace wsa
