#pragma once
// Formats made once per distinct state and handed out again: a document of
// many runs has only a few distinct looks, and a shared format also spares
// the document hashing its properties for every run it inserts.

#include <cstddef>
#include <unordered_map>

namespace rtf {

template <typename State, typename Format>
class FormatCache {
public:
    template <typename Make>
    const Format &get(const State &state, Make make)
    {
        auto it = m_formats.find(state);
        if (it == m_formats.end())
            it = m_formats.emplace(state, make(state)).first;
        return it->second;
    }
    // The tables a format is made from have changed.
    void clear() { m_formats.clear(); }

private:
    struct Hash {
        size_t operator()(const State &state) const { return state.hash(); }
    };
    std::unordered_map<State, Format, Hash> m_formats;
};

} // namespace rtf
