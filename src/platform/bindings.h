// Which keyboard keys and pad buttons stand behind the player's actions. The game itself reads
// only its virtual keys; a binding says which physical keys press them, so replays, which keep
// what the game read, play back the same whatever the binding.
//
// Kept in the settings file as one line per action, its keys by name, comma separated:
// "up=Up,Keypad 8". A line names every key of its action. Free of any input library: the names
// are looked up through functions the back end gives.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

struct ProfileDocument;

enum class Action { Up, Down, Left, Right, Fire, Choose, Back, Pause };
constexpr int ActionCount = 8;
constexpr std::array<Action, ActionCount> Actions{Action::Up,    Action::Down, Action::Left,
                                                  Action::Right, Action::Fire, Action::Choose,
                                                  Action::Back,  Action::Pause};

// The action's key in the settings file ("up", "fire", ...).
const char* ActionName(Action action);

// Keys or buttons as the back end numbers them; 0 is no key.
using InputCode = int;

struct InputNames {
    // The code of a name, or 0 when it names nothing that may be bound.
    std::function<InputCode(const std::string& name)> CodeOf;
    std::function<std::string(InputCode code)> NameOf;
};

// Every action's keys, in the order the player gave them. No key is on two actions.
class Bindings {
public:
    Bindings() = default;
    explicit Bindings(const std::array<std::vector<InputCode>, ActionCount>& keys);

    const std::vector<InputCode>& KeysOf(Action action) const;
    // The action a key stands behind, if any.
    bool FindAction(InputCode code, Action& action) const;
    // Makes `code` the one key of `action`. A key taken from another action is moved, not
    // doubled: returns whether it was, and which action lost it.
    bool Rebind(Action action, InputCode code, Action& movedFrom);

    bool operator==(const Bindings& other) const { return Keys == other.Keys; }

private:
    std::array<std::vector<InputCode>, ActionCount> Keys;
};

// One line's value read into keys: names separated by commas, blanks around them ignored, empty
// entries skipped, a name given twice kept once. Each unknown name is passed to `unknown`.
std::vector<InputCode> ParseKeyList(const std::string& value, const InputNames& names,
                                    const std::function<void(const std::string& name)>& unknown);
// The keys as such a line: "Up,Keypad 8".
std::string KeyListText(const std::vector<InputCode>& keys, const InputNames& names);

// The bindings of a section: each action's line where the section has one with a key in it,
// the defaults elsewhere. A key already on an earlier line is kept there and skipped on the
// later one; a default key that a line took is the line's. `complain` hears one line of text
// per name skipped.
Bindings ReadBindings(const ProfileDocument& settings, const std::string& section,
                      const Bindings& defaults, const InputNames& names,
                      const std::function<void(const std::string& line)>& complain);
// Puts every action's line into the section.
void PutBindings(ProfileDocument& settings, const std::string& section, const Bindings& bindings,
                 const InputNames& names);
