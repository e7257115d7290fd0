// Speed of one mailbox check against a real Dovecot POP3 server on 127.0.0.1,
// next to Python's standard poplib sending the same commands to the same server.
//
//   bench_pop3_check [runs]      (default 7 runs per maildrop size)
//
// For maildrops of 1, 100, 1,000 and 10,000 letters, each check starts from
// letter "0", so it sends one UIDL per letter. Per size it prints the medians of
// the runs: wall time of the check, round trips per second, and the client's own
// CPU time per round trip; then the ratios ours / poplib.
#include "DovecotServer.h"
#include "Pop3.h"
#include "Pop3Check.h"
#include "RunProgram.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr const char *kPassword = "bench-password";
constexpr int kSizes[] = {1, 100, 1000, 10000};

struct Sample {
    double wallSeconds = 0;
    double cpuSeconds = 0;
};

struct Summary {
    double wallSeconds = 0;
    double roundTripsPerSecond = 0;
    double cpuMicrosPerRoundTrip = 0;
};

// Commands answered in one check: USER, PASS, STAT, QUIT and one UIDL per letter.
int roundTrips(int letters)
{
    return letters + 4;
}

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

Summary summarize(const std::vector<Sample> &samples, int letters)
{
    std::vector<double> wall;
    std::vector<double> cpu;
    for (const Sample &s : samples) {
        wall.push_back(s.wallSeconds);
        cpu.push_back(s.cpuSeconds);
    }
    Summary summary;
    summary.wallSeconds = median(wall);
    summary.roundTripsPerSecond = roundTrips(letters) / summary.wallSeconds;
    summary.cpuMicrosPerRoundTrip = median(cpu) * 1e6 / roundTrips(letters);
    return summary;
}

Sample oursOnce(const mailInfo &mailbox, int letters)
{
    TPOP3 session;
    session.SetSettings(mailbox);
    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = threadCpuSeconds();
    const int32_t code = runPop3Check(session);
    const double cpu = threadCpuSeconds() - cpuStart;
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallStart;
    if (code != 0 || session.LetterCount() != letters || session.NewCount() != letters)
        throw std::runtime_error("our check of " + std::to_string(letters) + " letters gave code " +
                                 std::to_string(code) + ", " + std::to_string(session.LetterCount()) +
                                 " letters, " + std::to_string(session.NewCount()) + " new");
    return {wall.count(), cpu};
}

Sample poplibOnce(const mailInfo &mailbox, int letters)
{
    std::istringstream reply(runProgram({"python3", VELMO_POPLIB_SCRIPT, mailbox.host,
                                         std::to_string(mailbox.port), mailbox.user,
                                         mailbox.password}));
    int seenLetters = -1;
    int uidlSent = -1;
    Sample sample;
    reply >> seenLetters >> uidlSent >> sample.wallSeconds >> sample.cpuSeconds;
    if (!reply || seenLetters != letters || uidlSent != letters)
        throw std::runtime_error("poplib's check of " + std::to_string(letters) + " letters saw " +
                                 std::to_string(seenLetters) + " letters");
    return sample;
}

void printRow(const char *who, int letters, const Summary &s)
{
    std::printf("%7d  %-7s %12.2f %12.0f %14.2f\n", letters, who, s.wallSeconds * 1e3,
                s.roundTripsPerSecond, s.cpuMicrosPerRoundTrip);
}

}  // namespace

int main(int argc, char **argv)
{
    try {
        const int runs = argc > 1 ? std::stoi(argv[1]) : 7;
        if (runs < 1)
            throw std::invalid_argument("runs must be at least 1");
        DovecotServer server;
        std::printf("POP3 check against Dovecot on 127.0.0.1:%d, median of %d runs per size\n",
                    server.port(), runs);
        std::printf("round trips per check = letters + 4 (USER, PASS, STAT, QUIT, one UIDL per letter)\n\n");
        std::printf("%7s  %-7s %12s %12s %14s\n", "letters", "client", "wall ms", "rt/s", "cpu us/rt");

        std::vector<std::string> ratios;
        for (int letters : kSizes) {
            const std::string user = "bench" + std::to_string(letters);
            server.addUser(user, kPassword);
            server.deliver(user, letters);
            const mailInfo mailbox = dovecotMailbox(server.port(), user, kPassword);

            // The server builds its index of the maildrop at the first login; keep that out.
            oursOnce(mailbox, letters);
            poplibOnce(mailbox, letters);

            std::vector<Sample> ours;
            std::vector<Sample> poplib;
            for (int run = 0; run < runs; ++run) {
                ours.push_back(oursOnce(mailbox, letters));
                poplib.push_back(poplibOnce(mailbox, letters));
            }
            const Summary oursSummary = summarize(ours, letters);
            const Summary poplibSummary = summarize(poplib, letters);
            printRow("ours", letters, oursSummary);
            printRow("poplib", letters, poplibSummary);
            std::fflush(stdout);

            char line[160];
            std::snprintf(line, sizeof line, "%7d  %14.2f %16.3f", letters,
                          oursSummary.wallSeconds / poplibSummary.wallSeconds,
                          oursSummary.cpuMicrosPerRoundTrip / poplibSummary.cpuMicrosPerRoundTrip);
            ratios.emplace_back(line);
        }

        std::printf("\nours / poplib (below 1: ours is faster or cheaper)\n");
        std::printf("%7s  %14s %16s\n", "letters", "wall time", "cpu per rt");
        for (const std::string &line : ratios)
            std::printf("%s\n", line.c_str());
        return 0;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bench_pop3_check: %s\n", e.what());
        return 1;
    }
}
