#pragma once

#include "MailInfo.h"
#include "Mailrecv.h"

#include <cstdint>
#include <string>

// POP3 result codes of one check step; any other positive code is a Windows
// Sockets error number passed through from the socket.
namespace pop3code {
inline constexpr int32_t kOk = 0;
inline constexpr int32_t kUnknownReply = 100;    // neither "+OK" nor "-ER"
inline constexpr int32_t kServerError = 101;     // "-ER" to the greeting or QUIT
inline constexpr int32_t kHostNotResolved = 102;
inline constexpr int32_t kConnectionClosed = 103; // nothing received, no socket error recorded
inline constexpr int32_t kUserRefused = 1011;    // "-ER" to USER or STAT
inline constexpr int32_t kPassRefused = 1012;
inline constexpr int32_t kUidlRefused = 1014;
}  // namespace pop3code

// The POP3 session of one mailbox: logs in, counts the letters (STAT) and walks
// the unique ids (UIDL) from the newest end until the first letter that is not
// new. Every step returns a code, 0 for success; nothing is thrown.
class TPOP3 {
public:
    TPOP3();

    void SetSettings(const mailInfo &info);
    mailInfo GetSettings() const;
    void SetNewestFirst(bool flag);

    // One step each; a check runs them in this order and stops at the first
    // code that is not 0. Connect reads the greeting; Stat also walks the
    // unique ids, and fails with 100 when its counts are not decimal numbers.
    int32_t Connect();
    int32_t User();
    int32_t Pass();
    int32_t Stat();
    int32_t Quit();

    int32_t LetterCount() const { return FCount; }
    int32_t NewCount() const { return FNewCount; }
    // New count to 0; letter moves on to the newest unique id seen, never back.
    void MarkRead();
    void ClearCount() { FCount = 0; }

    // Cuts a running step short from another thread; see TClientSocks::Abort.
    void Abort();

    // Unique ids compare as unsigned bytes; a prefix is the smaller.
    static bool UidLess(const std::string &a, const std::string &b);

private:
    int32_t Command(const std::string &text);
    int32_t ReadReply();
    int32_t ReadStat();
    int32_t Walk();

    TMailPOP3 FMail;
    std::string FReply;
    mailInfo FInfo;  // letter starts as "0": nothing marked as read yet
    int32_t FCount = 0;
    int32_t FSize = 0;
    int32_t FNewCount = 0;
    std::string FNewestUid = "0";
    bool FNewestFirst = false;
};
