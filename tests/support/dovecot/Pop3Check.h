#pragma once

#include "MailInfo.h"
#include "Pop3.h"

#include <cstdint>
#include <string>

// The mailbox settings of a user of a DovecotServer, with letter "0".
mailInfo dovecotMailbox(int32_t port, const std::string &user, const std::string &password);

// One check as a mailbox's check thread runs it: Connect, User, Pass, Stat,
// Quit, stopping at the first step whose code is not 0. Returns that code, or 0.
int32_t runPop3Check(TPOP3 &session);
