#pragma once
// A table delivers a listing through three events (start, entry, end). A
// screen binds them for the one listing it asks for and they are unbound when
// this object goes, so no listing reaches a screen that did not ask for it.
template <typename Table> class TListEvents {
public:
    TListEvents(Table& table, decltype(Table::OnListStart) start, decltype(Table::OnListItem) item,
                decltype(Table::OnListEnd) end)
        : m_table(table) {
        m_table.OnListStart = std::move(start);
        m_table.OnListItem = std::move(item);
        m_table.OnListEnd = std::move(end);
    }
    ~TListEvents() {
        m_table.OnListStart = nullptr;
        m_table.OnListItem = nullptr;
        m_table.OnListEnd = nullptr;
    }
    TListEvents(const TListEvents&) = delete;
    TListEvents& operator=(const TListEvents&) = delete;

private:
    Table& m_table;
};
