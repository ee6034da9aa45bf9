#include "runner_input.h"

#include <fstream>
#include <sstream>

#include "platform/headless/headless.h"

int KeyByName(const std::string& name) {
    static const std::map<std::string, int> keys = {
        {"left", VkLeft},  {"up", VkUp},         {"right", VkRight},     {"down", VkDown},
        {"kp2", VkNumpad2}, {"kp4", VkNumpad4}, {"kp5", VkNumpad5},     {"kp6", VkNumpad6},
        {"kp8", VkNumpad8}, {"z", VkZ},         {"return", VkReturn},   {"escape", VkEscape},
    };
    auto found = keys.find(name);
    return found == keys.end() ? 0 : found->second;
}

namespace {

bool ParseFrameCommand(std::istringstream& words, int64_t frame, RunnerInput& out,
                       std::string& problem) {
    if (frame < 1) {
        problem = "frames count from 1";
        return false;
    }
    std::string verb, keyName, extra;
    words >> verb;
    if (verb == "close") {
        out.Events[frame].push_back({RunnerEvent::Close, 0});
        return !(words >> extra) || (problem = "close takes no key", false);
    }
    RunnerEvent event;
    if (verb == "down") event.What = RunnerEvent::Down;
    else if (verb == "up") event.What = RunnerEvent::Up;
    else if (verb == "tap") event.What = RunnerEvent::Tap;
    else {
        problem = "unknown command \"" + verb + "\"";
        return false;
    }
    words >> keyName;
    event.Key = KeyByName(keyName);
    if (event.Key == 0) {
        problem = "unknown key \"" + keyName + "\"";
        return false;
    }
    if (words >> extra) {
        problem = "unexpected \"" + extra + "\"";
        return false;
    }
    out.Events[frame].push_back(event);
    return true;
}

bool ParseLine(const std::string& line, RunnerInput& out, std::string& problem) {
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (first == "answer") {
        // Everything after "answer " is the text, blanks included.
        const size_t start = line.find("answer") + 6;
        out.Answers.push_back(start < line.size() ? line.substr(start + 1) : std::string());
        return true;
    }
    if (first == "cancel") {
        out.Answers.push_back(std::nullopt);
        return true;
    }
    if (first == "msgbox") {
        std::string which;
        words >> which;
        if (which == "ok") out.BoxAnswers.push_back(BoxAnswer::Ok);
        else if (which == "cancel") out.BoxAnswers.push_back(BoxAnswer::Cancel);
        else return (problem = "msgbox takes ok or cancel", false);
        return true;
    }
    size_t used = 0;
    int64_t frame = 0;
    try {
        frame = std::stoll(first, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != first.size()) {
        problem = "unknown command \"" + first + "\"";
        return false;
    }
    return ParseFrameCommand(words, frame, out, problem);
}

}  // namespace

bool ParseRunnerInput(const std::string& text, RunnerInput& out, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        std::string problem;
        if (!ParseLine(line.substr(first), out, problem)) {
            error = "input line " + std::to_string(lineNumber) + ": " + problem;
            return false;
        }
    }
    return true;
}

bool LoadRunnerInput(const std::string& file, RunnerInput& out, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot read the input " + file;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    return ParseRunnerInput(text.str(), out, error);
}

void RunnerInput::QueueAnswers() const {
    for (const auto& answer : Answers) headless::QueueInputAnswer(answer);
    for (BoxAnswer answer : BoxAnswers) headless::QueueBoxAnswer(answer);
}

void RunnerInput::ApplyFrame(int64_t frame) const {
    auto found = Events.find(frame);
    if (found == Events.end()) return;
    for (const RunnerEvent& event : found->second) {
        switch (event.What) {
            case RunnerEvent::Down: headless::SetKey(event.Key, true); break;
            case RunnerEvent::Up: headless::SetKey(event.Key, false); break;
            case RunnerEvent::Tap: headless::TapKey(event.Key); break;
            case RunnerEvent::Close: headless::RequestClose(); break;
        }
    }
}
