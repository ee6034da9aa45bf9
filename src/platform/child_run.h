// A program run beside the game without waiting for it: what it writes (its output and its
// errors together) is collected as it comes, up to a limit, and it is asked now and then
// whether it has ended. The game goes on drawing meanwhile.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

class ChildRun {
public:
    ChildRun() = default;
    ~ChildRun() { Stop(); }
    ChildRun(const ChildRun&) = delete;
    ChildRun& operator=(const ChildRun&) = delete;

    // Starts `command` (the program's path, then its arguments) with nothing on its input.
    // False when it could not be started. One run at a time: a run still going is stopped.
    bool Start(const std::vector<std::string>& command);
    bool Running() const { return Pid != 0; }
    // Takes what it wrote since the last look; true once it has ended, with its exit status
    // (-1 when a signal ended it), and it is reaped.
    bool Ended(int& status);
    // All it wrote, cut at MaxOutput bytes.
    const std::string& Output() const { return Written; }
    // Ends it (it is killed and reaped) if it still runs.
    void Stop();

    static constexpr size_t MaxOutput = 64 * 1024;

private:
    void TakeOutput();
    pid_t Pid = 0;
    int Pipe = -1;  // the read end of its output
    std::string Written;
};
