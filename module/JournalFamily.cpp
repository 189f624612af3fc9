#include "module/JournalFamily.h"

void AppendPaneBody(std::string& body, std::string_view pane) {
    // A pane without a line end has no time line to leave out.
    const std::size_t newline = pane.find('\n');
    const std::string_view rest = newline == std::string_view::npos ? pane : pane.substr(newline + 1);
    for (const char c : rest)
        if (c != '\r') body += c;
}
