// The editing rules of the name dialog's one-line field, apart from any window: the text, a
// caret between characters, a check that every edit must pass and one that the finished answer
// must pass. Whatever the first refuses is refused as it is typed, so the text never holds
// anything it would not accept; the second is asked only on OK ("Ann " may be on its way to
// "Ann Lee", but is no answer).
#pragma once

#include <cstddef>
#include <string>

struct TextField {
    std::string Text;  // UTF-8
    size_t Caret = 0;  // byte offset into Text, always at the start of a character
    bool (*Accept)(const std::string& candidate) = nullptr;     // none accepts everything
    bool (*AcceptAnswer)(const std::string& answer) = nullptr;  // likewise
};

// Whether the text may be given as the answer.
bool IsAcceptedAnswer(const TextField& field);

// Types the characters of `typed` at the caret one after another; each one the check refuses is
// left out. Returns false when any was left out.
bool TypeText(TextField& field, const std::string& typed);
// Backspace and Delete remove one whole character. They return false when nothing changed.
bool DeleteBeforeCaret(TextField& field);
bool DeleteAfterCaret(TextField& field);
// Moves the caret one character left (-1) or right (+1).
void MoveCaret(TextField& field, int direction);
void MoveCaretHome(TextField& field);
void MoveCaretEnd(TextField& field);

// Byte length of the UTF-8 character that starts at `pos` (at least 1, never past the end).
size_t CharacterLengthAt(const std::string& text, size_t pos);
