#include "support/runner_support.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/test_support.h"

RunResult RunHeadless(const std::string& dir, const std::string& input,
                      const std::string& extraArguments, bool trace) {
    const std::string inputFile = dir + "/input.txt";
    const std::string traceFile = dir + "/trace.jsonl";
    const std::string stderrFile = dir + "/stderr.txt";
    WriteFile(inputFile, input);
    std::string command = std::string(VEXLAN_HEADLESS_BIN) + " --dir '" + dir + "' ";
    if (!input.empty()) command += "--input '" + inputFile + "' ";
    command += extraArguments;
    if (trace) command += " --trace '" + traceFile + "'";
    command += " 2>'" + stderrFile + "'";
    RunResult result;
    const int raw = std::system(command.c_str());
    result.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.Stderr = ReadFile(stderrFile);
    if (trace) {
        std::istringstream lines(ReadFile(traceFile));
        for (std::string line; std::getline(lines, line);) result.Trace.push_back(line);
    }
    return result;
}

std::string TraceField(const std::string& line, const std::string& field) {
    const std::string key = "\"" + field + "\":";
    const size_t start = line.find(key);
    if (start == std::string::npos) return {};
    size_t from = start + key.size();
    size_t to = from;
    if (line[from] == '[') {
        int depth = 0;
        bool inString = false;
        for (; to < line.size(); ++to) {
            const char c = line[to];
            if (inString) {
                if (c == '\\')
                    ++to;
                else if (c == '"')
                    inString = false;
            } else if (c == '"') {
                inString = true;
            } else if (c == '[') {
                ++depth;
            } else if (c == ']' && --depth == 0) {
                ++to;
                break;
            }
        }
    } else {
        while (to < line.size() && line[to] != ',' && line[to] != '}') ++to;
    }
    return line.substr(from, to - from);
}

long TraceNumber(const std::string& line, const std::string& field, int index) {
    std::string text = TraceField(line, field);
    if (index >= 0) {
        text = text.substr(1, text.size() - 2);
        for (int i = 0; i < index; ++i) text = text.substr(text.find(',') + 1);
        text = text.substr(0, text.find(','));
    }
    return std::strtol(text.c_str(), nullptr, 10);
}
