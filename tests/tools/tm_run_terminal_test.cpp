#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "tm_run_process.h"

namespace {

// Reads from `fd` until `wanted` has appeared or `patience` has passed.
std::string readUntil(int fd, const std::string& wanted, std::chrono::seconds patience) {
    std::string seen;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (seen.find(wanted) == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 100) <= 0) {
            continue;
        }
        char chunk[4096];
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got <= 0) {
            break;
        }
        seen.append(chunk, static_cast<std::size_t>(got));
    }
    return seen;
}

TEST(TmRunOnATerminal, ALongRunShowsItsProgress) {
    const ScratchFolder folder;
    const std::string counter =
        folder.write("counter.txt",
                     "tape(0.)\nstart(r)\nfinish(never)\n(a,0,r,1,R)\n(a,^,r,1,R)\n(a,1,a,0,L)\n"
                     "(r,0,r,0,R)\n(r,1,r,1,R)\n(r,^,a,^,L)\n");
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    ASSERT_GE(child, 0);
    if (child == 0) {
        execl(TM_RUN_PATH, TM_RUN_PATH, counter.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    const std::string seen = readUntil(terminal, "-cell blocks", std::chrono::seconds(30));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(terminal);
    EXPECT_NE(seen.find('\r'), std::string::npos) << seen;
    EXPECT_NE(seen.find(" steps/s, tape: "), std::string::npos) << seen;
    EXPECT_NE(seen.find(" runs of "), std::string::npos) << seen;
}

}  // namespace
