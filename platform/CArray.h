#pragma once

#include <iterator>
#include <stdexcept>
#include <utility>
#include <vector>

// The framework's growable array of values, with its member names. An index outside the array
// throws std::invalid_argument, as the framework's checked access does.
template <class T, class ARG = const T&>
class CArray {
public:
    CArray() = default;
    CArray(const CArray&) = default;
    CArray& operator=(const CArray&) = default;
    CArray(CArray&&) noexcept = default;
    CArray& operator=(CArray&&) noexcept = default;

    int GetSize() const { return static_cast<int>(m_dati.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return m_dati.empty(); }

    void SetSize(int n)
    {
        if (n < 0)
            throw std::invalid_argument("CArray::SetSize: negative size");
        m_dati.resize(static_cast<size_t>(n));
    }
    int Add(ARG elemento)
    {
        m_dati.push_back(elemento);
        return GetSize() - 1;
    }
    void InsertAt(int i, ARG elemento, int quanti = 1)
    {
        if (i < 0 || i > GetSize() || quanti < 0)
            throw std::invalid_argument("CArray::InsertAt: index outside the array");
        // Built aside and moved in: g++ 12 misreads the bounds of the fill-insert at -O2.
        std::vector<T> nuovi(static_cast<size_t>(quanti), elemento);
        m_dati.insert(m_dati.begin() + i, std::make_move_iterator(nuovi.begin()), std::make_move_iterator(nuovi.end()));
    }
    void RemoveAt(int i, int quanti = 1)
    {
        if (i < 0 || quanti < 0 || i + quanti > GetSize())
            throw std::invalid_argument("CArray::RemoveAt: index outside the array");
        m_dati.erase(m_dati.begin() + i, m_dati.begin() + i + quanti);
    }
    void RemoveAll() { m_dati.clear(); }

    const T& GetAt(int i) const { return m_dati[Controlla(i)]; }
    void SetAt(int i, ARG elemento) { m_dati[Controlla(i)] = elemento; }
    T& ElementAt(int i) { return m_dati[Controlla(i)]; }
    const T& ElementAt(int i) const { return m_dati[Controlla(i)]; }
    T& operator[](int i) { return m_dati[Controlla(i)]; }
    const T& operator[](int i) const { return m_dati[Controlla(i)]; }

    void Copy(const CArray& altro)
    {
        if (this != &altro)
            m_dati = altro.m_dati;
    }
    int Append(const CArray& altro)
    {
        const int inizio = GetSize();
        if (this == &altro) {
            const std::vector<T> copia = altro.m_dati;
            m_dati.insert(m_dati.end(), copia.begin(), copia.end());
        } else {
            m_dati.insert(m_dati.end(), altro.m_dati.begin(), altro.m_dati.end());
        }
        return inizio;
    }
    T* GetData() { return m_dati.empty() ? nullptr : m_dati.data(); }
    const T* GetData() const { return m_dati.empty() ? nullptr : m_dati.data(); }

    // Range access for our own loops.
    auto begin() { return m_dati.begin(); }
    auto end() { return m_dati.end(); }
    auto begin() const { return m_dati.begin(); }
    auto end() const { return m_dati.end(); }
    void Reserve(int n)
    {
        if (n > 0)
            m_dati.reserve(static_cast<size_t>(n));
    }

private:
    // Checked on every access, so the check is one compare and the throw lies out of the way.
    size_t Controlla(int i) const
    {
        if (static_cast<size_t>(static_cast<unsigned>(i)) >= m_dati.size()) [[unlikely]]
            FuoriDallArray();
        return static_cast<size_t>(i);
    }
    [[noreturn, gnu::noinline, gnu::cold]] static void FuoriDallArray()
    {
        throw std::invalid_argument("CArray: index outside the array");
    }

    std::vector<T> m_dati;
};
