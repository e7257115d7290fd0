#include "Pop3Check.h"

#include "DovecotServer.h"

mailInfo dovecotMailbox(int32_t port, const std::string &user, const std::string &password)
{
    mailInfo info;
    info.host = DovecotServer::kHost;
    info.port = port;
    info.user = user;
    info.password = password;
    info.namemail = user;
    info.letter = "0";
    info.interval = 60000;
    info.timeout = kMailTimeoutMs;
    return info;
}

int32_t runPop3Check(TPOP3 &session)
{
    for (auto step : {&TPOP3::Connect, &TPOP3::User, &TPOP3::Pass, &TPOP3::Stat, &TPOP3::Quit}) {
        const int32_t code = (session.*step)();
        if (code != 0)
            return code;
    }
    return 0;
}
