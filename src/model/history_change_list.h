#pragma once

#include "model/history_change.h"

#include <iterator>

// The changes of one history entry, first to last. Nearly every entry holds a single
// change, so that one lives inside the list itself; a second change moves them all to a
// vector on the heap. The list is 16 bytes either way.
class HistoryChangeList {
public:
    using const_iterator = const HistoryChange*;
    using const_reverse_iterator = std::reverse_iterator<const_iterator>;

    HistoryChangeList() = default;

    bool isEmpty() const { return m_head.m_form == HistoryChange::Form::Empty; }
    qsizetype size() const
    {
        if (isEmpty())
            return 0;
        return isSpilled() ? qsizetype(m_head.m_payload.list->size()) : 1;
    }
    qsizetype count() const { return size(); }

    const HistoryChange& at(qsizetype i) const { return begin()[i]; }
    const HistoryChange& first() const { return at(0); }
    const HistoryChange& last() const { return at(size() - 1); }

    const_iterator begin() const { return isSpilled() ? m_head.m_payload.list->data() : &m_head; }
    const_iterator end() const { return begin() + size(); }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }
    const_reverse_iterator crbegin() const { return const_reverse_iterator(end()); }
    const_reverse_iterator crend() const { return const_reverse_iterator(begin()); }

    void append(HistoryChange change);

private:
    bool isSpilled() const { return m_head.m_form == HistoryChange::Form::List; }

    // Empty, the one change, or the `List` form that owns the vector of all of them.
    HistoryChange m_head;
};

static_assert(sizeof(void*) != 8 || sizeof(HistoryChangeList) == 16, "a change list is 16 bytes");
Q_DECLARE_TYPEINFO(HistoryChangeList, Q_RELOCATABLE_TYPE);
