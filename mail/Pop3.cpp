#include "Pop3.h"

#include "Pop3Reply.h"

namespace {

// A step's "-ER" reply stands for the step's own code.
int32_t Refused(int32_t code, int32_t refusedCode)
{
    return code == pop3code::kServerError ? refusedCode : code;
}

}  // namespace

TPOP3::TPOP3()
{
    FInfo.letter = "0";
}

void TPOP3::SetSettings(const mailInfo &info)
{
    FMail.SetSettings(info);
    FInfo = info;
}

mailInfo TPOP3::GetSettings() const
{
    return FInfo;
}

void TPOP3::SetNewestFirst(bool flag)
{
    FNewestFirst = flag;
}

int32_t TPOP3::Connect()
{
    if (!FMail.Connect())
        return FMail.ErrorCode();
    return ReadReply();
}

int32_t TPOP3::User()
{
    return Refused(Command("USER " + FInfo.user + "\r\n"), pop3code::kUserRefused);
}

int32_t TPOP3::Pass()
{
    return Refused(Command("PASS " + FInfo.password + "\r\n"), pop3code::kPassRefused);
}

int32_t TPOP3::Stat()
{
    const int32_t code = Refused(Command("STAT\r\n"), pop3code::kUserRefused);
    if (code != pop3code::kOk)
        return code;
    const int32_t parsed = ReadStat();
    if (parsed != pop3code::kOk)
        return parsed;
    FNewCount = 0;
    return Refused(Walk(), pop3code::kUidlRefused);
}

int32_t TPOP3::Quit()
{
    return Command("QUIT\r\n");
}

void TPOP3::MarkRead()
{
    FNewCount = 0;
    if (UidLess(FInfo.letter, FNewestUid))
        FInfo.letter = FNewestUid;
}

void TPOP3::Abort()
{
    FMail.Abort();
}

bool TPOP3::UidLess(const std::string &a, const std::string &b)
{
    return pop3reply::UidLess(a, b);
}

int32_t TPOP3::Command(const std::string &text)
{
    if (!FMail.SendText(text))
        return FMail.ErrorCode();
    return ReadReply();
}

// Reads one reply into FReply and gives its code.
int32_t TPOP3::ReadReply()
{
    FReply = pop3reply::Trim(FMail.ReceiveText());
    if (FReply == "0") {
        const int32_t error = FMail.ErrorCode();
        return error != 0 ? error : pop3code::kConnectionClosed;
    }
    return pop3reply::Status(FReply);
}

// Takes the counts from the STAT reply in FReply. A reply whose counts are not
// plain decimal numbers fails the check as an unknown reply; the counts of the
// last check that read them stay.
int32_t TPOP3::ReadStat()
{
    const auto counts = pop3reply::ParseStat(FReply);
    if (!counts)
        return pop3code::kUnknownReply;
    FCount = counts->count;
    FSize = counts->size;
    return pop3code::kOk;
}

// Asks for unique ids from the newest letter on, one UIDL per letter, and
// counts the letters that are newer than FInfo.letter; the first letter that
// is not ends the walk. n counts the letters still to examine.
int32_t TPOP3::Walk()
{
    for (int32_t n = FCount; n > 0; --n) {
        const int32_t number = FNewestFirst ? FCount - n + 1 : n;
        const int32_t code = Command("UIDL " + std::to_string(number) + "\r\n");
        if (code != pop3code::kOk)
            return code;
        const std::string uid = pop3reply::UniqueId(FReply);
        if (!UidLess(FInfo.letter, uid))
            return pop3code::kOk;
        ++FNewCount;
        if (n == FCount)
            FNewestUid = uid;
    }
    return pop3code::kOk;
}
