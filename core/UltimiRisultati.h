#pragma once

#include <cstddef>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

// The last few results of a pure computation, each with the exact bits of the inputs it came from.
// A designer dragging one tuning point recomputes the whole exam at every move; the arch curve and
// the graphs whose points did not move come back from here instead of being worked out again, the
// very same values. Per thread, so that callers on different threads never share one.
template <class Risultato, std::size_t N>
class UltimiRisultati {
public:
    // The inputs, appended value by value; compared as bytes, so a NaN or a -0 is an input like any other.
    class Chiave {
    public:
        template <class T>
        Chiave& operator<<(const T& v)
        {
            static_assert(std::is_trivially_copyable_v<T>);
            const auto* b = reinterpret_cast<const unsigned char*>(&v);
            byte_.insert(byte_.end(), b, b + sizeof(T));
            return *this;
        }
        template <class T>
        Chiave& Valori(const T* v, std::size_t n)
        {
            for (std::size_t i = 0; i < n; ++i)
                *this << v[i];
            return *this;
        }
        bool operator==(const Chiave&) const = default;

    private:
        std::vector<unsigned char> byte_;
    };

    // The result kept for these inputs, or nullptr.
    const Risultato* Trova(const Chiave& chiave) const
    {
        for (const auto& [c, r] : voci_)
            if (c == chiave)
                return &r;
        return nullptr;
    }

    // Kept in place of the oldest once N are kept.
    void Ricorda(Chiave chiave, Risultato risultato)
    {
        if (voci_.size() == N)
            voci_.erase(voci_.begin());
        voci_.emplace_back(std::move(chiave), std::move(risultato));
    }

private:
    std::vector<std::pair<Chiave, Risultato>> voci_;
};
