#pragma once

#include "Clientsocket.h"
#include "MailInfo.h"

#include <string>

// The mail receiver: holds the connection settings and turns one socket read
// into one reply text.
class TMailPOP3 {
public:
    void SetSettings(const mailInfo &info);
    bool Connect();
    bool SendText(const std::string &text);
    // One receive: the bytes up to the first zero byte, at most ReceivedLength();
    // "0" when nothing was received (closed, failed or timed out).
    std::string ReceiveText();
    int32_t ErrorCode() const;
    // From any thread: cuts the running call short; see TClientSocks::Abort.
    void Abort();

private:
    TClientSocks FClient;
    mailInfo FInfo;
};
