#pragma once
// A growable array of plain records, in the shape of the framework's CArray. Growth follows one
// rule: when an append needs more room, the step is the element count / 8, kept within
// [4, 1024]; the new capacity is the larger of the needed count and the old capacity plus the
// step. New slots are zero-filled. Removing an element moves the later ones down; storage is
// given back only when the array is emptied with RemoveAll or SetSize(0).
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <type_traits>

#include "platform/core/Prefault.h"

template <typename T>
class CArray {
    static_assert(std::is_trivially_copyable_v<T>, "CArray holds records copied as bytes");

public:
    CArray() = default;
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;
    ~CArray() { std::free(m_data); }

    int GetSize() const { return m_size; }
    int GetCount() const { return m_size; }
    int GetCapacity() const { return m_capacity; }
    bool IsEmpty() const { return m_size == 0; }
    T* GetData() { return m_data; }
    const T* GetData() const { return m_data; }
    T& operator[](int i) { return m_data[Checked(i)]; }
    const T& operator[](int i) const { return m_data[Checked(i)]; }
    T& ElementAt(int i) { return (*this)[i]; }
    const T& GetAt(int i) const { return (*this)[i]; }
    T* begin() { return m_data; }
    T* end() { return m_data + m_size; }
    const T* begin() const { return m_data; }
    const T* end() const { return m_data + m_size; }

    // Appends a copy and returns its index.
    int Add(const T& value) {
        const T copy = value;  // `value` may live inside this array
        SetSize(m_size + 1);
        m_data[m_size - 1] = copy;
        return m_size - 1;
    }

    // Resizes; new elements are zero.
    void SetSize(int size) {
        if (size < 0) throw std::length_error("CArray size below zero");
        if (size == 0) return RemoveAll();
        if (size > m_capacity) Grow(size);
        if (size < m_size) std::memset(static_cast<void*>(m_data + size), 0, sizeof(T) * (m_size - size));
        m_size = size;
    }

    void RemoveAt(int index, int count = 1) {
        if (index < 0 || count < 0 || index + count > m_size) throw std::out_of_range("CArray::RemoveAt");
        std::memmove(static_cast<void*>(m_data + index), m_data + index + count,
                     sizeof(T) * (m_size - index - count));
        m_size -= count;
        std::memset(static_cast<void*>(m_data + m_size), 0, sizeof(T) * count);
    }

    void RemoveAll() {
        std::free(m_data);
        m_data = nullptr;
        m_size = m_capacity = 0;
    }

private:
    int Checked(int i) const {
        if (i < 0 || i >= m_size) throw std::out_of_range("CArray index");
        return i;
    }

    void Grow(int needed) {
        const int step = std::clamp(m_size / 8, 4, 1024);
        const int capacity = std::max(needed, m_capacity + step);
        void* grown = std::realloc(static_cast<void*>(m_data), sizeof(T) * static_cast<size_t>(capacity));
        if (!grown) throw std::bad_alloc();
        m_data = static_cast<T*>(grown);
        const size_t added = sizeof(T) * static_cast<size_t>(capacity - m_capacity);
        // Large arrays grow by many pages at once: back them in one call rather than a fault each.
        if (added >= kPrefaultBytes) PrefaultForWrite(m_data + m_capacity, added);
        std::memset(static_cast<void*>(m_data + m_capacity), 0, added);
        m_capacity = capacity;
    }

    static constexpr size_t kPrefaultBytes = 64 * 1024;

    T* m_data = nullptr;
    int m_size = 0;
    int m_capacity = 0;
};
