#pragma once
// The first-generation browser as the tool hosts it. The class leaves deleting to its host; the
// tool, as that host, binds the Delete key in either tree to the browser's Delete on what is
// chosen, once a message box has asked whether to delete it and the person has said Yes.
#include <string>

#include "log1/CLogViewer.h"

class CLog1BrowserHost : public CLogViewer {
public:
    // The question the Delete key asks for the current choice; empty when Delete would do nothing.
    std::string DeleteQuestion();

    static const MessageMap* ThisMessageMap();
    const MessageMap* GetMessageMap() const override { return ThisMessageMap(); }

protected:
    void OnTreeKey(NMHDR* header, LRESULT* result);
};
