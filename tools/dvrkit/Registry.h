#pragma once
// An ordered list that files join at start-up, each through a namespace-scope Registry::Add
// object of its own, so that adding an entry edits no central list. The list is read in order of
// the key each entry gives; keys are meant to be distinct (equal keys keep no particular order).
// The registering files are compiled into the executable itself: from a static library, the
// linker would leave out an object file that nothing refers to, and its entry with it.
#include <algorithm>
#include <utility>
#include <vector>

template <typename Entry>
class Registry {
public:
    struct Keyed {
        int order;
        Entry entry;
    };

    // Joins the list when constructed.
    struct Add {
        Add(int order, Entry entry) {
            auto& list = List();
            const auto at = std::ranges::upper_bound(list, order, {}, &Keyed::order);
            list.insert(at, Keyed{order, std::move(entry)});
        }
    };

    // Every entry that has joined, lowest key first.
    static const std::vector<Keyed>& InOrder() { return List(); }

private:
    // Made on first use, so that an Add in any file finds it whichever file starts first.
    static std::vector<Keyed>& List() {
        static std::vector<Keyed> list;
        return list;
    }
};
