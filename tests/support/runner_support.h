// Running the headless runner binary from a test, and reading its trace.
#pragma once

#include <string>
#include <vector>

struct RunResult {
    int Status = -1;
    std::string Stderr;
    std::vector<std::string> Trace;  // one JSON line a frame
};

// Runs the runner on DIR with the given input script (none when empty) and extra arguments; the
// trace is read back when `trace` is true.
RunResult RunHeadless(const std::string& dir, const std::string& input,
                      const std::string& extraArguments, bool trace = true);

// The value of a numeric field of a trace line ("score"), or of an element of an array field
// ("player", 2).
long TraceNumber(const std::string& line, const std::string& field, int index = -1);
// The raw text of a field of a trace line (an array in its brackets, a number).
std::string TraceField(const std::string& line, const std::string& field);
