#include "platform/child_run.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

bool ChildRun::Start(const std::vector<std::string>& command) {
    Stop();
    Written.clear();
    if (command.empty()) return false;
    // Made before the fork: between fork and exec the child may only make system calls.
    std::vector<char*> argv;
    for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    const pid_t child = fork();
    if (child == 0) {
        const int nothing = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (nothing >= 0) dup2(nothing, STDIN_FILENO);
        dup2(ends[1], STDOUT_FILENO);
        dup2(ends[1], STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(ends[1]);
    if (child < 0) {
        close(ends[0]);
        return false;
    }
    fcntl(ends[0], F_SETFL, O_NONBLOCK);
    Pid = child;
    Pipe = ends[0];
    return true;
}

void ChildRun::TakeOutput() {
    if (Pipe < 0) return;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(Pipe, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            if (got == 0 || errno != EAGAIN) {
                close(Pipe);
                Pipe = -1;
            }
            return;
        }
        Written.append(buffer, std::min(size_t(got), MaxOutput - Written.size()));
    }
}

bool ChildRun::Ended(int& status) {
    if (Pid == 0) return false;
    TakeOutput();
    int raw = 0;
    const pid_t done = waitpid(Pid, &raw, WNOHANG);
    if (done == 0) return false;
    TakeOutput();  // what it wrote just before it ended
    if (Pipe >= 0) close(Pipe);
    Pipe = -1;
    Pid = 0;
    status = done > 0 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return true;
}

void ChildRun::Stop() {
    if (Pid != 0) {
        kill(Pid, SIGKILL);
        waitpid(Pid, nullptr, 0);
        Pid = 0;
    }
    if (Pipe >= 0) close(Pipe);
    Pipe = -1;
}
