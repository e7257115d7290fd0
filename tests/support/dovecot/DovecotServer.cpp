#include "DovecotServer.h"

#include "RunProgram.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::runtime_error systemError(const std::string &what)
{
    return std::runtime_error(what + ": " + std::strerror(errno));
}

std::string trimmed(std::string text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

void writeAll(int fd, const std::string &bytes, const std::string &path)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw systemError("write " + path);
        done += static_cast<size_t>(n);
    }
}

// A letter with LF line ends, as Maildir stores them; the server adds the CRs.
std::string letterText(const std::string &user, int64_t number)
{
    const std::string n = std::to_string(number);
    return "From: Velmo Test <sender@example.org>\n"
           "To: " + user + "@example.org\n"
           "Subject: Letter " + n + "\n"
           "Message-ID: <" + n + ".velmo@example.org>\n"
           "\n"
           "Letter number " + n + ".\n";
}

}  // namespace

DovecotServer::DovecotServer()
    : FStartTime(static_cast<int64_t>(std::time(nullptr)))
{
    const std::string port = runScript({"start", FDir.path()});
    try {
        FPort = static_cast<int32_t>(std::stoi(port));
    } catch (const std::exception &) {
        runScript({"stop", FDir.path()});
        throw std::runtime_error("dovecot_fixture.py start printed '" + port + "'");
    }
}

DovecotServer::~DovecotServer()
{
    try {
        runScript({"stop", FDir.path()});
    } catch (const std::exception &e) {
        std::fprintf(stderr, "DovecotServer: %s\n", e.what());
    }
}

void DovecotServer::addUser(const std::string &user, const std::string &password)
{
    FMaildirs[user] = runScript({"add-user", FDir.path(), user, password});
}

void DovecotServer::deliver(const std::string &user, int count)
{
    auto found = FMaildirs.find(user);
    if (found == FMaildirs.end())
        throw std::invalid_argument("no such user: " + user);
    struct stat maildir {};
    if (::stat(found->second.c_str(), &maildir) != 0)
        throw systemError("stat " + found->second);
    for (int i = 0; i < count; ++i)
        deliverOne(user, found->second, ++FDelivered, maildir.st_uid, maildir.st_gid);
}

// Maildir delivery: write the file in tmp/, then rename it into new/. The server
// gives new files their numbers in the order of their names (time part first,
// then the rest as text), so a zero-padded running number keeps delivery order.
void DovecotServer::deliverOne(const std::string &user, const std::string &maildir, int64_t number,
                               uid_t owner, gid_t group)
{
    char name[64];
    std::snprintf(name, sizeof name, "%lld.V%012lld.velmo", static_cast<long long>(FStartTime),
                  static_cast<long long>(number));
    const std::string tmpPath = maildir + "/tmp/" + name;
    const std::string newPath = maildir + "/new/" + name;

    int fd = ::open(tmpPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        throw systemError("open " + tmpPath);
    try {
        writeAll(fd, letterText(user, number), tmpPath);
        if (::fchown(fd, owner, group) != 0)
            throw systemError("fchown " + tmpPath);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0)
        throw systemError("close " + tmpPath);
    if (::rename(tmpPath.c_str(), newPath.c_str()) != 0)
        throw systemError("rename " + tmpPath);
}

std::string DovecotServer::runScript(std::vector<std::string> args) const
{
    const std::string command = args.front();
    args.insert(args.begin(), {"python3", VELMO_DOVECOT_SCRIPT});
    try {
        return trimmed(runProgram(args));
    } catch (const std::runtime_error &e) {
        throw std::runtime_error("dovecot_fixture.py " + command + ": " + e.what() + "\nserver log:\n" + log());
    }
}
