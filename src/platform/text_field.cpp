#include "platform/text_field.h"

#include "common/text.h"

namespace {

size_t PreviousCharacterStart(const std::string& text, size_t pos) {
    if (pos == 0) return 0;
    --pos;
    while (pos > 0 && IsUtf8Continuation(text[pos])) --pos;
    return pos;
}

bool Accepts(const TextField& field, const std::string& candidate) {
    return !field.Accept || field.Accept(candidate);
}

// Replaces [from, to) of the text when the check allows the result.
bool TryErase(TextField& field, size_t from, size_t to) {
    if (from == to) return false;
    std::string candidate = field.Text;
    candidate.erase(from, to - from);
    if (!Accepts(field, candidate)) return false;
    field.Text = std::move(candidate);
    field.Caret = from;
    return true;
}

}  // namespace

bool IsAcceptedAnswer(const TextField& field) {
    return !field.AcceptAnswer || field.AcceptAnswer(field.Text);
}

size_t CharacterLengthAt(const std::string& text, size_t pos) {
    if (pos >= text.size()) return 0;
    size_t length = 1;
    while (pos + length < text.size() && IsUtf8Continuation(text[pos + length])) ++length;
    return length;
}

bool TypeText(TextField& field, const std::string& typed) {
    bool allTaken = true;
    for (size_t pos = 0; pos < typed.size();) {
        const size_t length = CharacterLengthAt(typed, pos);
        std::string candidate = field.Text;
        candidate.insert(field.Caret, typed, pos, length);
        if (Accepts(field, candidate)) {
            field.Text = std::move(candidate);
            field.Caret += length;
        } else {
            allTaken = false;
        }
        pos += length;
    }
    return allTaken;
}

bool DeleteBeforeCaret(TextField& field) {
    return TryErase(field, PreviousCharacterStart(field.Text, field.Caret), field.Caret);
}

bool DeleteAfterCaret(TextField& field) {
    return TryErase(field, field.Caret, field.Caret + CharacterLengthAt(field.Text, field.Caret));
}

void MoveCaret(TextField& field, int direction) {
    if (direction < 0) field.Caret = PreviousCharacterStart(field.Text, field.Caret);
    if (direction > 0) field.Caret += CharacterLengthAt(field.Text, field.Caret);
}

void MoveCaretHome(TextField& field) {
    field.Caret = 0;
}
void MoveCaretEnd(TextField& field) {
    field.Caret = field.Text.size();
}
