#include "RunProgram.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

std::runtime_error failure(const std::string &program, const std::string &what)
{
    return std::runtime_error(program + ": " + what);
}

std::string readAll(int fd)
{
    std::string output;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return output;
        output.append(buffer, static_cast<size_t>(n));
    }
}

}  // namespace

std::string runProgram(const std::vector<std::string> &args)
{
    std::vector<std::string> copies = args;
    std::vector<char *> argv;
    for (std::string &arg : copies)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        throw failure(args.front(), std::string("pipe: ") + std::strerror(errno));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawned != 0) {
        ::close(pipeFds[0]);
        throw failure(args.front(), std::string("cannot start: ") + std::strerror(spawned));
    }

    std::string output = readAll(pipeFds[0]);
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status))
        throw failure(args.front(), "ended by signal " + std::to_string(WTERMSIG(status)));
    if (WEXITSTATUS(status) != 0)
        throw failure(args.front(), "exit status " + std::to_string(WEXITSTATUS(status)));
    return output;
}
