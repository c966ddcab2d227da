#pragma once
// Formats made once per distinct state and handed out again: a document of
// many runs has only a few distinct looks, and a shared format also spares
// the document hashing its properties for every run it inserts.

#include <array>
#include <cstddef>
#include <unordered_map>

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
        // The few states of a document are mostly found in a small table
        // indexed by their hash, without the map's division and chain.
        const size_t hash = state.hash();
        Recent &recent = m_recent[hash & (m_recent.size() - 1)];
        if (!recent.format || !(recent.state == state)) {
            auto it = m_formats.find(state);
            if (it == m_formats.end())
                it = m_formats.emplace(state, make(state)).first;
            recent = {state, &it->second}; // nodes of an unordered_map stay where they are
        }
        m_lastState = state;
        m_last = recent.format;
        return *m_last;
    }
    // The tables a format is made from have changed.
    void clear()
    {
        m_formats.clear();
        m_recent.fill({});
        m_last = nullptr;
    }

private:
    struct Hash {
        size_t operator()(const State &state) const { return state.hash(); }
    };
    struct Recent {
        State state{};
        const Format *format = nullptr;
    };
    std::unordered_map<State, Format, Hash> m_formats;
    std::array<Recent, 64> m_recent{};
    State m_lastState{};
    const Format *m_last = nullptr;
};

} // namespace rtf
