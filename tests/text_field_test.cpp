// The name dialog's field: typing at the caret, deleting whole characters, and edits the check
// refuses never landing.
#include "platform/text_field.h"

#include <gtest/gtest.h>

#include <string>

#include "screens/highscores.h"

namespace {

bool NoLeadingBlank(const std::string& text) {
    return text.empty() || text[0] != ' ';
}

TextField FieldWith(const std::string& text, bool (*accept)(const std::string&) = nullptr) {
    return TextField{text, text.size(), accept};
}

TEST(TextField, TypingInsertsAtTheCaret) {
    TextField field = FieldWith("山田");
    MoveCaret(field, -1);
    EXPECT_TRUE(TypeText(field, "x太"));
    EXPECT_EQ(field.Text, "山x太田");
    EXPECT_EQ(field.Caret, std::string("山x太").size());
}

TEST(TextField, ARefusedCharacterIsLeftOutAndTheRestStillLands) {
    TextField field = FieldWith("", IsStorableName);
    EXPECT_FALSE(TypeText(field, "a;b😀c"));
    EXPECT_EQ(field.Text, "abc");
    EXPECT_EQ(field.Caret, 3u);
}

TEST(TextField, ACommittedWordStopsWhereTheLimitIsReached) {
    TextField field = FieldWith(std::string(47, 'x'), IsStorableName);
    EXPECT_FALSE(TypeText(field, "漢字"));
    EXPECT_EQ(field.Text, std::string(47, 'x') + "漢");
}

TEST(TextField, BackspaceRemovesOneWholeCharacter) {
    TextField field = FieldWith("aé山😀");
    for (const char* expected : {"aé山", "aé", "a", ""}) {
        EXPECT_TRUE(DeleteBeforeCaret(field));
        EXPECT_EQ(field.Text, expected);
        EXPECT_EQ(field.Caret, field.Text.size());
    }
    EXPECT_FALSE(DeleteBeforeCaret(field));
}

TEST(TextField, DeleteRemovesTheCharacterAfterTheCaret) {
    TextField field = FieldWith("山田a");
    MoveCaretHome(field);
    EXPECT_TRUE(DeleteAfterCaret(field));
    EXPECT_EQ(field.Text, "田a");
    EXPECT_EQ(field.Caret, 0u);
    MoveCaretEnd(field);
    EXPECT_FALSE(DeleteAfterCaret(field));
}

TEST(TextField, TheCaretStepsOverWholeCharacters) {
    TextField field = FieldWith("a山😀");
    MoveCaret(field, -1);
    EXPECT_EQ(field.Caret, 4u);
    MoveCaret(field, -1);
    EXPECT_EQ(field.Caret, 1u);
    MoveCaret(field, -1);
    MoveCaret(field, -1);
    EXPECT_EQ(field.Caret, 0u);
    MoveCaret(field, 1);
    MoveCaret(field, 1);
    EXPECT_EQ(field.Caret, 4u);
    MoveCaretEnd(field);
    MoveCaret(field, 1);
    EXPECT_EQ(field.Caret, 8u);
}

TEST(TextField, ADeletionTheCheckRefusesDoesNotHappen) {
    TextField field = FieldWith("a b", NoLeadingBlank);
    MoveCaret(field, -1);
    MoveCaret(field, -1);
    EXPECT_FALSE(DeleteBeforeCaret(field));
    EXPECT_EQ(field.Text, "a b");
    EXPECT_EQ(field.Caret, 1u);
}

}  // namespace
