#include "platform/bindings.h"

#include <algorithm>

#include "platform/profile.h"

namespace {

constexpr size_t LineBytes = 255;  // far more than all the keys of one action
// Given back for a missing line: no name of a key begins with a control character.
constexpr const char* NoLine = "\x01";

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool Holds(const std::vector<InputCode>& keys, InputCode code) {
    return std::find(keys.begin(), keys.end(), code) != keys.end();
}

}  // namespace

const char* ActionName(Action action) {
    switch (action) {
        case Action::Up:
            return "up";
        case Action::Down:
            return "down";
        case Action::Left:
            return "left";
        case Action::Right:
            return "right";
        case Action::Fire:
            return "fire";
        case Action::Choose:
            return "choose";
        case Action::Back:
            return "back";
        case Action::Pause:
            return "pause";
    }
    return "";
}

Bindings::Bindings(const std::array<std::vector<InputCode>, ActionCount>& keys) : Keys(keys) {}

const std::vector<InputCode>& Bindings::KeysOf(Action action) const {
    return Keys[size_t(action)];
}

bool Bindings::FindAction(InputCode code, Action& action) const {
    for (const Action candidate : Actions) {
        if (!Holds(KeysOf(candidate), code)) continue;
        action = candidate;
        return true;
    }
    return false;
}

bool Bindings::Rebind(Action action, InputCode code, Action& movedFrom) {
    bool moved = false;
    for (const Action other : Actions) {
        std::vector<InputCode>& keys = Keys[size_t(other)];
        if (other == action || !Holds(keys, code)) continue;
        keys.erase(std::remove(keys.begin(), keys.end(), code), keys.end());
        movedFrom = other;
        moved = true;
    }
    Keys[size_t(action)] = {code};
    return moved;
}

std::vector<InputCode> ParseKeyList(const std::string& value, const InputNames& names,
                                    const std::function<void(const std::string& name)>& unknown) {
    std::vector<InputCode> keys;
    size_t from = 0;
    while (from <= value.size()) {
        const size_t comma = std::min(value.find(',', from), value.size());
        const std::string name = Trimmed(value.substr(from, comma - from));
        from = comma + 1;
        if (name.empty()) continue;
        const InputCode code = names.CodeOf(name);
        if (code == 0)
            unknown(name);
        else if (!Holds(keys, code))
            keys.push_back(code);
    }
    return keys;
}

std::string KeyListText(const std::vector<InputCode>& keys, const InputNames& names) {
    std::string text;
    for (const InputCode code : keys) text += (text.empty() ? "" : ",") + names.NameOf(code);
    return text;
}

Bindings ReadBindings(const ProfileDocument& settings, const std::string& section,
                      const Bindings& defaults, const InputNames& names,
                      const std::function<void(const std::string& line)>& complain) {
    std::array<std::vector<InputCode>, ActionCount> keys;
    std::array<bool, ActionCount> given{};
    std::vector<InputCode> taken;
    for (const Action action : Actions) {
        const std::string key = ActionName(action);
        const std::string value = ProfileString(settings, section, key, NoLine, LineBytes);
        if (value == NoLine) continue;
        const auto unknown = [&](const std::string& name) {
            complain("[" + section + "] " + key + ": \"" + name + "\" is no key that can be " +
                     "bound; skipped");
        };
        for (const InputCode code : ParseKeyList(value, names, unknown)) {
            if (Holds(taken, code)) {
                complain("[" + section + "] " + key + ": " + names.NameOf(code) +
                         " is on an earlier line already; skipped");
                continue;
            }
            keys[size_t(action)].push_back(code);
            taken.push_back(code);
        }
        // A line that names no key it can use leaves the action as it was by default, so that
        // a misspelt name never leaves the player without fire.
        given[size_t(action)] = !keys[size_t(action)].empty();
    }
    for (const Action action : Actions) {
        if (given[size_t(action)]) continue;
        for (const InputCode code : defaults.KeysOf(action)) {
            if (!Holds(taken, code)) keys[size_t(action)].push_back(code);
        }
    }
    return Bindings(keys);
}

void PutBindings(ProfileDocument& settings, const std::string& section, const Bindings& bindings,
                 const InputNames& names) {
    for (const Action action : Actions)
        PutProfileString(settings, section, ActionName(action),
                         KeyListText(bindings.KeysOf(action), names));
}
