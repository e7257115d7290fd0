// Checks of real maildrops on a private Dovecot POP3 server, run step by step as
// a mailbox's check thread runs them.
#include "DovecotServer.h"
#include "Pop3.h"
#include "Pop3Check.h"
#include "Pop3Probe.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char *kPassword = "s3cret";

// Every test suite made from this class runs against a Dovecot server of its
// own, started before the suite's first test and stopped after its last.
class DovecotTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        try {
            server = std::make_unique<DovecotServer>();
        } catch (const std::exception &e) {
            startError = e.what();
        }
    }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override { ASSERT_TRUE(server) << "Dovecot did not start: " << startError; }

    // A new user holding count letters, as mailbox settings with letter "0".
    static mailInfo mailboxWith(const std::string &user, int count)
    {
        server->addUser(user, kPassword);
        server->deliver(user, count);
        return dovecotMailbox(server->port(), user, kPassword);
    }

    static std::string uidOf(const std::string &user, int messageNumber)
    {
        Pop3Probe probe(server->port(), user, kPassword);
        return probe.uid(messageNumber);
    }

    static inline std::unique_ptr<DovecotServer> server;
    static inline std::string startError;
};

// Logins that succeed.
class DovecotCheck : public DovecotTest {};

// Dovecot slows down every login from an address for a while after a refused
// password (the next one by about four seconds), so refusals run against a
// server of their own, and only one of them.
class DovecotLogin : public DovecotTest {};

TEST_F(DovecotCheck, FirstCheckFindsEveryLetterNewThenOnlyLettersAfterMarkRead)
{
    TPOP3 session;
    session.SetSettings(mailboxWith("reader", 25));

    ASSERT_EQ(runPop3Check(session), 0) << server->log();
    EXPECT_EQ(session.LetterCount(), 25);
    EXPECT_EQ(session.NewCount(), 25);

    session.MarkRead();
    EXPECT_EQ(session.NewCount(), 0);
    EXPECT_EQ(session.GetSettings().letter, uidOf("reader", 25));

    server->deliver("reader", 1);
    ASSERT_EQ(runPop3Check(session), 0) << server->log();
    EXPECT_EQ(session.LetterCount(), 26);
    EXPECT_EQ(session.NewCount(), 1);

    session.MarkRead();
    EXPECT_EQ(session.GetSettings().letter, uidOf("reader", 26));
    ASSERT_EQ(runPop3Check(session), 0) << server->log();
    EXPECT_EQ(session.LetterCount(), 26);
    EXPECT_EQ(session.NewCount(), 0);
}

// A stored letter taken from an earlier run of the program: the letters after it
// are new, and marking as read moves the letter to the newest one, never back.
TEST_F(DovecotCheck, StoredLetterDecidesWhichLettersAreNew)
{
    const mailInfo mailbox = mailboxWith("keeper", 25);
    struct Case {
        int readThrough;  // message number whose uid is the stored letter; 0 for "0"
        int expectedNew;
    };
    const std::vector<Case> cases{{0, 25}, {1, 24}, {20, 5}, {24, 1}, {25, 0}};
    const std::string newest = uidOf("keeper", 25);

    for (const Case &c : cases) {
        SCOPED_TRACE("letter read through message " + std::to_string(c.readThrough));
        mailInfo info = mailbox;
        info.letter = c.readThrough == 0 ? "0" : uidOf("keeper", c.readThrough);
        TPOP3 session;
        session.SetSettings(info);

        ASSERT_EQ(runPop3Check(session), 0) << server->log();
        EXPECT_EQ(session.LetterCount(), 25);
        EXPECT_EQ(session.NewCount(), c.expectedNew);
        EXPECT_EQ(session.GetSettings().letter, info.letter);

        session.MarkRead();
        EXPECT_EQ(session.GetSettings().letter, newest);
    }
}

TEST_F(DovecotCheck, EmptyMaildropHasNoLetters)
{
    TPOP3 session;
    session.SetSettings(mailboxWith("empty", 0));

    ASSERT_EQ(runPop3Check(session), 0) << server->log();
    EXPECT_EQ(session.LetterCount(), 0);
    EXPECT_EQ(session.NewCount(), 0);
    session.MarkRead();
    EXPECT_EQ(session.GetSettings().letter, "0");
}

// What the other tests rely on: the server numbers the fixture's letters in
// delivery order, and its unique ids grow as text in the same order.
TEST_F(DovecotCheck, ServerNumbersLettersInDeliveryOrder)
{
    constexpr int kLetters = 40;
    mailboxWith("ordered", kLetters);
    Pop3Probe probe(server->port(), "ordered", kPassword);
    const std::string subject = "\nSubject: Letter ";

    long previousNumber = -1;
    std::string previousUid;
    for (int n = 1; n <= kLetters; ++n) {
        SCOPED_TRACE("message " + std::to_string(n));
        const std::string headers = probe.command("TOP " + std::to_string(n) + " 0", true);
        const size_t at = headers.find(subject);
        ASSERT_NE(at, std::string::npos) << headers;
        const long number = std::stol(headers.substr(at + subject.size()));
        EXPECT_GT(number, previousNumber);
        previousNumber = number;

        const std::string uid = probe.uid(n);
        EXPECT_LT(previousUid, uid);  // std::string compares as unsigned bytes
        previousUid = uid;
    }
}

TEST_F(DovecotLogin, WrongPasswordEndsTheCheckAtPass)
{
    mailInfo mailbox = mailboxWith("owner", 3);
    mailbox.password = "not-the-password";
    TPOP3 session;
    session.SetSettings(mailbox);

    EXPECT_EQ(runPop3Check(session), pop3code::kPassRefused) << server->log();
    EXPECT_EQ(session.LetterCount(), 0);
    EXPECT_EQ(session.NewCount(), 0);
}

}  // namespace
