#pragma once

#include <cstdint>
#include <vector>

#include "CString.h"

class CArchive;
class CObject;

// Run-time class record: the class name and its schema number.
struct KORVANE_API CRuntimeClass {
    const char* m_lpszClassName;
    unsigned int m_wSchema;
    CObject* (*m_pfnCreateObject)();
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

// Marks a schema as versionable, as the framework's flag does.
constexpr unsigned int VERSIONABLE_SCHEMA = 0x80000000u;

// Root of the serialisable classes.
class KORVANE_API CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual void Serialize(CArchive& ar);
    bool IsKindOf(const CRuntimeClass* classe) const;
    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

// A binary archive over a byte stream, storing or loading. Values are little-endian. A load that runs
// past the end of the stream or meets a class record it does not expect marks the archive as failed
// and yields zeros from then on.
class KORVANE_API CArchive {
public:
    enum Mode { store = 0, load = 1 };

    // Storing appends to `flusso`; loading reads it from the start.
    CArchive(std::vector<std::uint8_t>& flusso, Mode modo);

    bool IsStoring() const { return m_modo == store; }
    bool IsLoading() const { return m_modo == load; }
    bool IsFallito() const { return m_fallito; }
    size_t GetPosizione() const { return m_posizione; }
    // Schema read with the last class record (loading), 0 when none was read.
    unsigned int GetObjectSchema() const { return m_schemaLetto; }

    // The class record: a tag, the schema and the class name.
    void SerializeClass(const CRuntimeClass* classe);

    CArchive& operator<<(double v);
    CArchive& operator>>(double& v);
    CArchive& operator<<(std::int32_t v);
    CArchive& operator>>(std::int32_t& v);

    void ScriviByte(const std::uint8_t* dati, size_t n);
    bool LeggiByte(std::uint8_t* dati, size_t n);

private:
    std::vector<std::uint8_t>& m_flusso;
    Mode m_modo;
    size_t m_posizione = 0;
    bool m_fallito = false;
    unsigned int m_schemaLetto = 0;
};
