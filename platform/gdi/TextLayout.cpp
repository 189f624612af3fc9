#include "platform/gdi/TextLayout.h"

#include <algorithm>

#include "platform/gdi/TextCodec.h"

namespace {

constexpr int kTabBlanks = 8;

std::u32string StripPrefixes(std::u32string_view text) {
    std::u32string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'&' && i + 1 < text.size()) ++i;  // "&x" draws x, "&&" draws "&"
        else if (text[i] == U'&') continue;
        out.push_back(text[i]);
    }
    return out;
}

std::u32string ExpandTabs(std::u32string_view text, FontInstance& font) {
    const int blank = std::max(font.Measure(U" "), 1);
    const int stop = blank * kTabBlanks;
    std::u32string out;
    int width = 0;
    for (char32_t c : text) {
        if (c != U'\t') {
            out.push_back(c);
            width += font.Measure(std::u32string_view(&c, 1));
            continue;
        }
        for (const int next = (width / stop + 1) * stop; width < next; width += blank) out.push_back(U' ');
    }
    return out;
}

std::vector<std::u32string> SplitLines(const std::u32string& text, bool single) {
    std::vector<std::u32string> lines(1);
    for (char32_t c : text) {
        if (c == U'\r') continue;
        if (c == U'\n') {
            if (!single) lines.emplace_back();
            continue;
        }
        lines.back().push_back(c);
    }
    return lines;
}

// Breaks one line between words so that each piece fits `width` where it can.
void WrapLine(const std::u32string& line, int width, FontInstance& font, std::vector<std::u32string>& out) {
    size_t start = 0;
    while (start < line.size()) {
        size_t end = start, lastBreak = std::u32string::npos;
        while (end < line.size()) {
            if (line[end] == U' ') lastBreak = end;
            if (font.Measure(std::u32string_view(line).substr(start, end + 1 - start)) > width && end > start) break;
            ++end;
        }
        if (end < line.size() && lastBreak != std::u32string::npos && lastBreak > start) end = lastBreak;
        else if (end < line.size() && lastBreak == std::u32string::npos) {
            while (end < line.size() && line[end] != U' ') ++end;  // a long word stays whole
        }
        out.push_back(line.substr(start, end - start));
        start = end;
        while (start < line.size() && line[start] == U' ') ++start;
    }
    if (line.empty()) out.emplace_back();
}

}  // namespace

TextBlock LayOutText(std::string_view bytes, const RECT& rect, UINT format, FontInstance& font) {
    std::u32string text = DecodeText(bytes);
    if (!(format & DT_NOPREFIX)) text = StripPrefixes(text);
    if (format & DT_EXPANDTABS) text = ExpandTabs(text, font);
    const bool single = format & DT_SINGLELINE;
    std::vector<std::u32string> lines;
    for (const auto& line : SplitLines(text, single)) {
        if ((format & DT_WORDBREAK) && !single) WrapLine(line, rect.right - rect.left, font, lines);
        else lines.push_back(line);
    }

    TextBlock block;
    const int lineHeight = font.Height();
    const int total = lineHeight * static_cast<int>(lines.size());
    int y = rect.top;
    if (single && (format & DT_VCENTER)) y = rect.top + (rect.bottom - rect.top - total) / 2;
    else if (single && (format & DT_BOTTOM)) y = rect.bottom - total;
    block.bounds = CRect(rect.left, y, rect.left, y + total);
    for (auto& line : lines) {
        TextLine placed;
        placed.width = font.Measure(line);
        placed.x = rect.left;
        if (format & DT_CENTER) placed.x = rect.left + (rect.right - rect.left - placed.width) / 2;
        else if (format & DT_RIGHT) placed.x = rect.right - placed.width;
        placed.y = y;
        placed.text = std::move(line);
        block.bounds.left = std::min<int>(block.bounds.left, placed.x);
        block.bounds.right = std::max<int>(block.bounds.right, placed.x + placed.width);
        y += lineHeight;
        block.lines.push_back(std::move(placed));
    }
    return block;
}
