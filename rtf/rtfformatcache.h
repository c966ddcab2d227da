#pragma once
// Formats made once per distinct state and handed out again: a document of
// many runs has only a few distinct looks, and a shared format also spares
// the document hashing its properties for every run it inserts.

#include <cstddef>
#include <deque>
#include <vector>

namespace rtf {

template <typename State, typename Format>
class FormatCache {
public:
    template <typename Make>
    const Format &get(const State &state, Make make)
    {
        // Paragraph after paragraph mostly asks for the same state again.
        if (m_last && state == m_lastState)
            return *m_last;
        // Open addressing over at least twice as many slots as states: a
        // state costs its hash and mostly one comparison, where a node map
        // walks a chain through memory spread over the heap.
        const size_t hash = state.hash();
        if (2 * (m_formats.size() + 1) > m_slots.size())
            grow();
        size_t i = hash & (m_slots.size() - 1);
        while (m_slots[i].format && !(m_slots[i].hash == hash && m_slots[i].state == state))
            i = (i + 1) & (m_slots.size() - 1);
        if (!m_slots[i].format)
            m_slots[i] = {hash, state, &m_formats.emplace_back(make(state))}; // a deque keeps them where they are
        m_lastState = state;
        m_last = m_slots[i].format;
        return *m_last;
    }
    // The tables a format is made from have changed.
    void clear()
    {
        m_slots.clear();
        m_formats.clear();
        m_last = nullptr;
    }

private:
    struct Slot {
        size_t hash = 0;
        State state{};
        const Format *format = nullptr;
    };

    void grow()
    {
        std::vector<Slot> table(m_slots.empty() ? 64 : 2 * m_slots.size());
        for (const Slot &slot : m_slots) {
            if (!slot.format)
                continue;
            size_t i = slot.hash & (table.size() - 1);
            while (table[i].format)
                i = (i + 1) & (table.size() - 1);
            table[i] = slot;
        }
        m_slots = std::move(table);
    }

    std::vector<Slot> m_slots;
    std::deque<Format> m_formats;
    State m_lastState{};
    const Format *m_last = nullptr;
};

} // namespace rtf
