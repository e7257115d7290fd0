// Whole checks against the scripted server, one table row per server
// behaviour: the replies, then the code, the counts and the exact bytes the
// session sent.
#include "MailTestSupport.h"
#include "Pop3.h"
#include "ScriptedPop3Server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

using namespace std::chrono_literals;
using namespace std::string_literals;
using S = ScriptedPop3Server;

namespace {

const std::string kLogin = "USER bob\r\nPASS secret\r\n";

struct SessionCase {
    std::string name;
    S::Script replies;
    int32_t code;
    int steps;                  // steps run, the failing one included
    int32_t letterCount;
    int32_t newCount;
    std::string sent;           // every byte the server received
    std::string letter = "0";   // the mailbox's letter before the check
    std::string letterAfterMark = letter;
    bool newestFirst = false;
    int32_t timeoutMs = kMailTimeoutMs;
};

// Greeting and login accepted, then the given replies.
S::Script LoggedIn(std::vector<S::Action> rest)
{
    S::Script script = {S::reply("+OK POP3 ready\r\n"), S::reply("+OK\r\n"), S::reply("+OK\r\n")};
    script.insert(script.end(), rest.begin(), rest.end());
    return script;
}

std::vector<SessionCase> Cases()
{
    const S::Action bye = S::reply("+OK bye\r\n");
    std::vector<SessionCase> cases = {
        {"empty maildrop", LoggedIn({S::reply("+OK 0 0\r\n"), bye}),
         0, 5, 0, 0, kLogin + "STAT\r\nQUIT\r\n"},
        {"greeting -ERR", {S::reply("-ERR go away\r\n")}, 101, 1, 0, 0, ""},
        {"greeting of another kind", {S::reply("* OK IMAP4rev1\r\n")}, 100, 1, 0, 0, ""},
        {"greeting in lower case", {S::reply("+ok ready\r\n")}, 100, 1, 0, 0, ""},
        {"USER refused", {S::reply("+OK\r\n"), S::reply("-ERR who?\r\n")},
         1011, 2, 0, 0, "USER bob\r\n"},
        {"PASS refused", {S::reply("+OK\r\n"), S::reply("+OK\r\n"), S::reply("-ERR [AUTH] no\r\n")},
         1012, 3, 0, 0, kLogin},
        {"STAT refused", LoggedIn({S::reply("-ERR locked\r\n")}),
         1011, 4, 0, 0, kLogin + "STAT\r\n"},
        {"QUIT refused", LoggedIn({S::reply("+OK 0 0\r\n"), S::reply("-ERR later\r\n")}),
         101, 5, 0, 0, kLogin + "STAT\r\nQUIT\r\n"},
        {"UIDL refused after STAT counted",
         LoggedIn({S::reply("+OK 3 300\r\n"), S::reply("+OK 3 a5\r\n"), S::reply("-ERR no such message\r\n")}),
         1014, 4, 3, 1, kLogin + "STAT\r\nUIDL 3\r\nUIDL 2\r\n", "a4", "a5"},
        {"one new letter of three",
         LoggedIn({S::reply("+OK 3 300\r\n"), S::reply("+OK 3 a5\r\n"), S::reply("+OK 2 a4\r\n"), bye}),
         0, 5, 3, 1, kLogin + "STAT\r\nUIDL 3\r\nUIDL 2\r\nQUIT\r\n", "a4", "a5"},
        {"ids compare as text: 100 is not newer than 99",
         LoggedIn({S::reply("+OK 2 20\r\n"), S::reply("+OK 2 100\r\n"), bye}),
         0, 5, 2, 0, kLogin + "STAT\r\nUIDL 2\r\nQUIT\r\n", "99", "99"},
        {"every letter new on a first check",
         LoggedIn({S::reply("+OK 3 30\r\n"), S::reply("+OK 3 c\r\n"), S::reply("+OK 2 b\r\n"),
                   S::reply("+OK 1 a\r\n"), bye}),
         0, 5, 3, 3, kLogin + "STAT\r\nUIDL 3\r\nUIDL 2\r\nUIDL 1\r\nQUIT\r\n", "0", "c"},
        {"newest first: messages 1, 2, 3",
         LoggedIn({S::reply("+OK 3 30\r\n"), S::reply("+OK 1 z3\r\n"), S::reply("+OK 2 z2\r\n"),
                   S::reply("+OK 3 z1\r\n"), bye}),
         0, 5, 3, 3, kLogin + "STAT\r\nUIDL 1\r\nUIDL 2\r\nUIDL 3\r\nQUIT\r\n", "0", "z3", true},
        {"an older id between newer ones ends the count",
         LoggedIn({S::reply("+OK 4 40\r\n"), S::reply("+OK 4 m9\r\n"), S::reply("+OK 3 a1\r\n"), bye}),
         0, 5, 4, 1, kLogin + "STAT\r\nUIDL 4\r\nUIDL 3\r\nQUIT\r\n", "m5", "m9"},
        {"the newest letter not new: the walk stops at once",
         LoggedIn({S::reply("+OK 9 900\r\n"), S::reply("+OK 9 m5\r\n"), bye}),
         0, 5, 9, 0, kLogin + "STAT\r\nUIDL 9\r\nQUIT\r\n", "m5", "m5"},
        {"a greeting over 100 bytes: the rest is read as USER's reply",
         {S::reply("+OK " + std::string(110, 'x') + "\r\n"), S::reply("+OK\r\n")},
         100, 2, 0, 0, "USER bob\r\n"},
        {"a reply split over two sends is not joined",
         {S::reply("+OK\r\n"), S::split({"+OK", " welcome\r\n"}), S::reply("+OK\r\n")},
         100, 3, 0, 0, kLogin},
        {"server closes after the greeting", {S::reply("+OK\r\n"), S::close()},
         103, 2, 0, 0, "USER bob\r\n"},
        {"server closes instead of greeting", {S::close()}, 103, 1, 0, 0, ""},
        {"server resets after the greeting", {S::reply("+OK\r\n"), S::reset()},
         10054, 2, 0, 0, "USER bob\r\n"},
        {"server silent after PASS", {S::reply("+OK\r\n"), S::reply("+OK\r\n"), S::silence()},
         10060, 3, 0, 0, kLogin, "0", "0", false, 200},
        {"server silent instead of greeting", {S::silence()}, 10060, 1, 0, 0, "", "0", "0", false, 200},
    };

    // STAT replies whose counts are not decimal numbers: a failed check with
    // 100, no UIDL sent, the counts untouched.
    for (const char *stat : {"+OK x y", "+OK  5 100", "+OK 5 100 extra", "+OK 99999999999 1",
                             "+OK -1 5", "+OK 3 0x10", "+OK", "+OK \x01\x02"})
        cases.push_back({"STAT reply \""s + stat + "\"", LoggedIn({S::reply(stat + "\r\n"s)}),
                         100, 4, 0, 0, kLogin + "STAT\r\n"});

    // Replies of odd shapes at the greeting: they are classified, nothing more.
    const std::vector<std::pair<std::string, int32_t>> greetings = {
        {"\r\n", 100},
        {"+", 100},
        {"+O", 100},
        {"\xff\xfe\x00\x01\x80"s, 100},
        {"\0+OK\r\n"s, 100},
        {"+OK\0 tail after a zero byte\r\n"s, 0},
        {std::string(100, '\0'), 100},
        {std::string(300, '\xff'), 100},
    };
    for (const auto &[greeting, code] : greetings) {
        if (code == 0)
            cases.push_back({"greeting with a zero byte", {S::reply(greeting), S::reply("-ERR\r\n")},
                             1011, 2, 0, 0, "USER bob\r\n"});
        else
            cases.push_back({"odd greeting of " + std::to_string(greeting.size()) + " bytes",
                             {S::reply(greeting)}, code, 1, 0, 0, ""});
    }

    // A reply of the bare text "0" reads as nothing received.
    cases.push_back({"reply \"0\" to USER", {S::reply("+OK\r\n"), S::reply(" 0 \r\n")},
                     103, 2, 0, 0, "USER bob\r\n"});
    // UIDL replies of odd shapes: the id is whatever follows, compared as text.
    cases.push_back({"UIDL replies of odd shapes",
                     LoggedIn({S::reply("+OK 4 40\r\n"), S::reply("+OK 4\r\n"), S::reply("+OK\r\n"), bye}),
                     0, 5, 4, 1, kLogin + "STAT\r\nUIDL 4\r\nUIDL 3\r\nQUIT\r\n", "0", "4"});
    cases.push_back({"a UIDL reply that is not +OK",
                     LoggedIn({S::reply("+OK 2 40\r\n"), S::reply("\x01\r\n")}),
                     100, 4, 2, 0, kLogin + "STAT\r\nUIDL 2\r\n"});
    return cases;
}

TEST(Pop3Session, ChecksAgainstScriptedServers)
{
    for (const SessionCase &c : Cases()) {
        SCOPED_TRACE(c.name);
        S server(c.replies);
        const CheckOutcome outcome =
            RunCheckOnFreshThread(MailboxOn(server, c.letter, c.timeoutMs), c.newestFirst);
        EXPECT_EQ(outcome.code, c.code);
        EXPECT_EQ(outcome.steps, c.steps);
        EXPECT_EQ(outcome.letterCount, c.letterCount);
        EXPECT_EQ(outcome.newCount, c.newCount);
        EXPECT_EQ(outcome.letterAfterMark, c.letterAfterMark);
        // The session is gone and its socket closed: the transcript is complete.
        ASSERT_TRUE(server.waitUntilIdle(10s));
        EXPECT_EQ(server.connectionCount(), 1u);
        EXPECT_EQ(server.received(0), c.sent);
    }
}

}  // namespace
