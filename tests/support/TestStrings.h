#pragma once
// Host string tables for a test: TestStrings is added to the front of the resource chain for its
// lifetime, so its strings are found before the default host's; NoHostStrings takes the default
// host's table away for its lifetime, as for a host whose table lacks every string.
#include <map>
#include <string>

#include "host/DefaultHost.h"
#include "platform/core/ResourceChain.h"

class TestStrings : public CResourceModule {
public:
    explicit TestStrings(std::map<UINT, std::string> strings) : m_strings(std::move(strings)) { AfxAddResourceModule(this); }
    ~TestStrings() override { AfxRemoveResourceModule(this); }
    const char* FindString(UINT id) const override {
        const auto it = m_strings.find(id);
        return it == m_strings.end() ? nullptr : it->second.c_str();
    }
    std::span<const BYTE> FindBitmap(UINT) const override { return {}; }

private:
    std::map<UINT, std::string> m_strings;
};

class NoHostStrings {
public:
    NoHostStrings() { AfxRemoveResourceModule(&DefaultHostModule()); }
    ~NoHostStrings() { RegisterDefaultHostResources(); }
    NoHostStrings(const NoHostStrings&) = delete;
    NoHostStrings& operator=(const NoHostStrings&) = delete;
};
