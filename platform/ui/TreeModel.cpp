#include "platform/ui/TreeModel.h"

TreeModel::TreeModel() {
    m_root.expanded = true;
    m_root.depth = -1;
    m_root.rows = 1;
}

TreeModel::Item* TreeModel::Find(HTREEITEM handle) {
    if (!handle || handle == TVI_ROOT) return &m_root;
    return FindItem(handle);
}

TreeModel::Item* TreeModel::FindItem(HTREEITEM handle) {
    const auto it = m_items.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == m_items.end() ? nullptr : it->second.get();
}

// Rows of `from`'s children changed by `delta`: every open ancestor shows that many more.
void TreeModel::AddRows(Item* from, int delta) {
    for (Item* p = from; p && p->expanded; p = p->parent) p->rows += delta;
}

void TreeModel::Link(Item* parent, Item* after, Item* item) {
    item->parent = parent;
    item->depth = parent->depth + 1;
    item->prev = after;
    item->next = after ? after->next : parent->firstChild;
    if (item->prev) item->prev->next = item;
    else parent->firstChild = item;
    if (item->next) item->next->prev = item;
    else parent->lastChild = item;
}

TreeModel::Item* TreeModel::Insert(Item* parent, HTREEITEM after, std::string text) {
    auto owned = std::make_unique<Item>();
    Item* item = owned.get();
    item->id = m_nextId++;
    item->text = std::move(text);
    Item* previous = parent->lastChild;
    if (after == TVI_FIRST) {
        previous = nullptr;
    } else if (after == TVI_SORT) {
        previous = nullptr;
        for (Item* c = parent->firstChild; c && c->text <= item->text; c = c->next) previous = c;
    } else if (Item* sibling = FindItem(after); sibling && sibling->parent == parent) {
        previous = sibling;
    }
    Link(parent, previous, item);
    m_items.emplace(item->id, std::move(owned));
    AddRows(parent, 1);
    return item;
}

void TreeModel::Forget(Item* item) {
    for (Item* c = item->firstChild; c;) {
        Item* next = c->next;
        Forget(c);
        c = next;
    }
    m_items.erase(item->id);
}

void TreeModel::Delete(Item* item) {
    if (item == &m_root) {
        m_items.clear();
        m_root.firstChild = m_root.lastChild = nullptr;
        m_root.rows = 1;
        return;
    }
    Item* parent = item->parent;
    AddRows(parent, -item->rows);
    if (item->prev) item->prev->next = item->next;
    else parent->firstChild = item->next;
    if (item->next) item->next->prev = item->prev;
    else parent->lastChild = item->prev;
    // A parent whose last child went is no longer open, as the platform's tree has it.
    if (!parent->firstChild && parent != &m_root) SetExpanded(parent, false);
    Forget(item);
}

bool TreeModel::SetExpanded(Item* item, bool expanded) {
    if (item == &m_root || item->expanded == expanded) return false;
    if (expanded && !item->firstChild) return false;
    int childRows = 0;
    for (Item* c = item->firstChild; c; c = c->next) childRows += c->rows;
    const int delta = expanded ? childRows : -childRows;
    item->expanded = expanded;
    item->rows = 1 + (expanded ? childRows : 0);
    AddRows(item->parent, delta);
    return true;
}

bool TreeModel::IsShown(const Item* item) const {
    if (!item || item == &m_root) return false;
    for (const Item* p = item->parent; p != &m_root; p = p->parent) {
        if (!p->expanded) return false;
    }
    return true;
}

TreeModel::Item* TreeModel::NextShown(Item* item) {
    if (!item) return nullptr;
    if (item->expanded && item->firstChild) return item->firstChild;
    for (Item* i = item; i && i != &m_root; i = i->parent) {
        if (i->next) return i->next;
    }
    return nullptr;
}

TreeModel::Item* TreeModel::PrevShown(Item* item) {
    if (!item || item == &m_root) return nullptr;
    if (!item->prev) return item->parent == &m_root ? nullptr : item->parent;
    Item* i = item->prev;
    while (i->expanded && i->lastChild) i = i->lastChild;
    return i;
}

TreeModel::Item* TreeModel::LastShown() {
    Item* i = m_root.lastChild;
    while (i && i->expanded && i->lastChild) i = i->lastChild;
    return i;
}

TreeModel::Item* TreeModel::ItemAtRow(int row) {
    if (row < 0 || row >= RowCount()) return nullptr;
    Item* level = &m_root;
    for (;;) {
        Item* c = level->firstChild;
        while (c && row >= c->rows) {
            row -= c->rows;
            c = c->next;
        }
        if (!c) return nullptr;
        if (row == 0) return c;
        --row;  // the rows below c's own
        level = c;
    }
}

int TreeModel::RowOf(const Item* item) const {
    if (!IsShown(item)) return -1;
    int row = 0;
    for (const Item* i = item; i != &m_root; i = i->parent) {
        for (const Item* s = i->prev; s; s = s->prev) row += s->rows;
        if (i->parent != &m_root) ++row;  // the parent's own row
    }
    return row;
}
