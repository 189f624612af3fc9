#include "module/HostText.h"

#include "platform/core/ResourceChain.h"

std::string HostText(UINT id) {
    const char* text = AfxFindString(id);
    return text ? std::string(text) : HostTextFallback(id);
}

std::string HostTextFallback(UINT id) { return "[string " + std::to_string(id) + "]"; }
