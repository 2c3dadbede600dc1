#pragma once

#include <QtGlobal>

#include <algorithm>
#include <array>

// A short list of colour indices kept on the stack. The colour rules run per painted
// pixel and only ever need a handful of entries (a cell's colours up to one past its
// limit), so a heap-allocated list would cost more than the scan it serves.
class ColorList {
public:
    static constexpr int capacity = 16;

    int size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }
    bool isFull() const { return m_size == capacity; }
    uchar operator[](int i) const { return m_colors[std::size_t(i)]; }

    const uchar* begin() const { return m_colors.data(); }
    const uchar* end() const { return m_colors.data() + m_size; }

    bool contains(uchar color) const { return std::find(begin(), end(), color) != end(); }

    // Appending to a full list is ignored; callers cap their limits at the capacity.
    void append(uchar color)
    {
        if (m_size < capacity)
            m_colors[std::size_t(m_size++)] = color;
    }

    void removeAll(uchar color)
    {
        uchar* last = std::remove(m_colors.data(), m_colors.data() + m_size, color);
        m_size = int(last - m_colors.data());
    }

    void clear() { m_size = 0; }

private:
    std::array<uchar, capacity> m_colors {};
    int m_size = 0;
};

// A set of byte values, one bit each: the pixel scans ask "seen before?" for every pixel,
// which a bit test answers faster than a search of the list.
class ColorSet {
public:
    bool contains(uchar color) const { return (m_bits[color >> 6] >> (color & 63)) & 1; }
    void insert(uchar color) { m_bits[color >> 6] |= quint64(1) << (color & 63); }

private:
    std::array<quint64, 4> m_bits {};
};
