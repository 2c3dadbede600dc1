#include "model/history_change_list.h"

#include <memory>

void HistoryChangeList::append(HistoryChange change)
{
    if (isEmpty()) {
        m_head = std::move(change);
        return;
    }
    if (!isSpilled()) {
        auto changes = std::make_unique<std::vector<HistoryChange>>();
        changes->reserve(2);
        changes->push_back(std::move(m_head));
        // The head's own release() hands the vector back to a smart pointer.
        m_head.m_payload.list = changes.release();
        m_head.m_form = HistoryChange::Form::List;
    }
    m_head.m_payload.list->push_back(std::move(change));
}
