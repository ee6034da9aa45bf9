#include "platform/text_wrap.h"

#include "platform/text_field.h"

namespace {

bool IsBreakAfter(char c) {
    return c == ' ' || c == '/';
}

// Appends the lines of one paragraph (no line breaks in it).
void WrapParagraph(const std::string& paragraph, int maxWidth,
                   const std::function<int(const std::string&)>& widthOf,
                   std::vector<std::string>& lines) {
    size_t start = 0;
    while (start < paragraph.size()) {
        size_t end = start;  // the longest run of whole characters from `start` that fits
        size_t lastBreak = std::string::npos;
        while (end < paragraph.size()) {
            const size_t next = end + CharacterLengthAt(paragraph, end);
            if (end > start && widthOf(paragraph.substr(start, next - start)) > maxWidth) break;
            if (IsBreakAfter(paragraph[end])) lastBreak = next;
            end = next;
        }
        if (end < paragraph.size() && lastBreak != std::string::npos && lastBreak > start)
            end = lastBreak;
        std::string line = paragraph.substr(start, end - start);
        while (!line.empty() && line.back() == ' ') line.pop_back();
        lines.push_back(line);
        start = end;
        // The blank a line was broken at does not begin the next one.
        while (start < paragraph.size() && paragraph[start] == ' ') ++start;
    }
}

}  // namespace

std::vector<std::string> WrapText(const std::string& text, int maxWidth,
                                  const std::function<int(const std::string&)>& widthOf) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t newline = text.find('\n', start);
        const std::string paragraph = text.substr(start, newline - start);
        if (paragraph.empty())
            lines.emplace_back();
        else
            WrapParagraph(paragraph, maxWidth, widthOf, lines);
        if (newline == std::string::npos) break;
        start = newline + 1;
    }
    return lines;
}
