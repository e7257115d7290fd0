#pragma once

#include <cstdint>

// Socket failures are reported with the Windows Sockets error numbers, which
// the window shows to the user ("Ошибка: 10061") and which the check result
// codes are made of. This is the one place that turns POSIX errors into them.
namespace wsa {

inline constexpr int32_t kInterrupted = 10004;        // WSAEINTR
inline constexpr int32_t kFault = 10014;              // WSAEFAULT
inline constexpr int32_t kTimedOut = 10060;           // WSAETIMEDOUT
inline constexpr int32_t kConnectionRefused = 10061;  // WSAECONNREFUSED
inline constexpr int32_t kConnectionReset = 10054;    // WSAECONNRESET
inline constexpr int32_t kHostNotFound = 11001;       // WSAHOST_NOT_FOUND
inline constexpr int32_t kSystemCallFailure = 10107;  // WSASYSCALLFAILURE: an errno with no counterpart

// The Windows Sockets number of an errno value of a socket call.
int32_t FromErrno(int error);
// The Windows Sockets number of a getaddrinfo() failure (its EAI_* result;
// systemError is errno, read only for EAI_SYSTEM).
int32_t FromResolver(int result, int systemError);

// The calling thread's last recorded failure, as WSAGetLastError() gives it:
// every failing socket call of the thread records its number, successes leave
// it alone; 0 on a thread where nothing has failed yet.
int32_t LastError();
void SetLastError(int32_t error);

}  // namespace wsa
