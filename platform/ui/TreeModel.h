#pragma once
// The items of a tree view, without any drawing: the family links, texts, images, data and
// the expanded state, and the number of rows each item's branch shows, kept up to date on
// every change so that finding the row of an item and the item of a row never visits the
// items of collapsed branches.
//
// Items are reached by handle (HTREEITEM). Handles are never reused: a deleted item's handle
// stays unknown to the model for good. Insertion at the end of a parent and at its front is
// constant time; deletion is linear in the deleted branch.
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/ui/TreeTypes.h"

class TreeModel {
public:
    struct Item {
        Item* parent = nullptr;
        Item* firstChild = nullptr;
        Item* lastChild = nullptr;
        Item* prev = nullptr;
        Item* next = nullptr;
        std::string text;
        int image = 0;
        int selectedImage = 0;
        LPARAM data = 0;
        bool expanded = false;
        int depth = -1;   // 0 for items at the root
        int rows = 1;     // rows shown by this item and its open descendants
        std::uintptr_t id = 0;
    };

    TreeModel();

    // The item of a handle; TVI_ROOT and nullptr give the invisible root; nullptr for a
    // handle that names no item.
    Item* Find(HTREEITEM handle);
    Item* FindItem(HTREEITEM handle);  // the same, but nullptr for the root
    static HTREEITEM Handle(const Item* item) {
        return item ? reinterpret_cast<HTREEITEM>(item->id) : nullptr;
    }
    Item* Root() { return &m_root; }

    // Inserts under `parent` after `after` (TVI_LAST, TVI_FIRST, TVI_SORT or a child of
    // `parent`; an unknown handle counts as TVI_LAST).
    Item* Insert(Item* parent, HTREEITEM after, std::string text);
    // Removes an item and its branch; the root empties the tree.
    void Delete(Item* item);
    // TRUE when the state changed. An item without children does not open.
    bool SetExpanded(Item* item, bool expanded);

    size_t Count() const { return m_items.size(); }
    // Rows the tree shows (items whose parents are all open).
    int RowCount() const { return m_root.rows - 1; }
    bool IsShown(const Item* item) const;
    Item* NextShown(Item* item);
    Item* PrevShown(Item* item);
    Item* LastShown();
    // The item shown at row `row` (from 0), or nullptr.
    Item* ItemAtRow(int row);
    // The row of a shown item, or -1.
    int RowOf(const Item* item) const;

private:
    void Link(Item* parent, Item* after, Item* item);
    void AddRows(Item* from, int delta);
    void Forget(Item* item);

    Item m_root;
    std::unordered_map<std::uintptr_t, std::unique_ptr<Item>> m_items;
    std::uintptr_t m_nextId = 1;
};
