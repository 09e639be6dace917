#include "platform/CObject.h"

#include <cstring>

#include "platform/Bytes.h"

const CRuntimeClass CObject::classCObject = {"CObject", 0xFFFFu, nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const
{
    return &classCObject;
}

void CObject::Serialize(CArchive&) {}

bool CObject::IsKindOf(const CRuntimeClass* classe) const
{
    const CRuntimeClass* propria = GetRuntimeClass();
    return classe != nullptr && propria != nullptr &&
           std::strcmp(propria->m_lpszClassName, classe->m_lpszClassName) == 0;
}

namespace {
// Tag that opens a class record in the stream.
constexpr std::uint16_t TAG_NUOVA_CLASSE = 0xFFFFu;
// Class names longer than this are refused when loading.
constexpr std::uint16_t MAX_NOME_CLASSE = 64;
}  // namespace

CArchive::CArchive(std::vector<std::uint8_t>& flusso, Mode modo) : m_flusso(flusso), m_modo(modo) {}

void CArchive::ScriviByte(const std::uint8_t* dati, size_t n)
{
    m_flusso.insert(m_flusso.end(), dati, dati + n);
}

bool CArchive::LeggiByte(std::uint8_t* dati, size_t n)
{
    if (m_fallito || m_flusso.size() - m_posizione < n) {
        m_fallito = true;
        std::memset(dati, 0, n);
        return false;
    }
    std::memcpy(dati, m_flusso.data() + m_posizione, n);
    m_posizione += n;
    return true;
}

void CArchive::SerializeClass(const CRuntimeClass* classe)
{
    if (classe == nullptr)
        return;
    const size_t lunghezza = std::strlen(classe->m_lpszClassName);
    if (IsStoring()) {
        std::uint8_t testa[8];
        PutU16(testa, 0, TAG_NUOVA_CLASSE);
        PutU32(testa, 2, classe->m_wSchema);
        PutU16(testa, 6, static_cast<std::uint16_t>(lunghezza));
        ScriviByte(testa, sizeof testa);
        ScriviByte(reinterpret_cast<const std::uint8_t*>(classe->m_lpszClassName), lunghezza);
        return;
    }
    std::uint8_t testa[8];
    if (!LeggiByte(testa, sizeof testa))
        return;
    const std::uint16_t n = GetU16(testa, 0) == TAG_NUOVA_CLASSE ? GetU16(testa, 6) : 0;
    if (n == 0 || n > MAX_NOME_CLASSE || n != lunghezza) {
        m_fallito = true;
        return;
    }
    std::uint8_t nome[MAX_NOME_CLASSE];
    if (!LeggiByte(nome, n) || std::memcmp(nome, classe->m_lpszClassName, n) != 0) {
        m_fallito = true;
        return;
    }
    // A versionable class accepts any schema and leaves it for the object to read.
    const unsigned int schema = GetU32(testa, 2);
    if ((classe->m_wSchema & VERSIONABLE_SCHEMA) == 0 && schema != classe->m_wSchema)
        m_fallito = true;
    m_schemaLetto = schema & ~VERSIONABLE_SCHEMA;
}

CArchive& CArchive::operator<<(double v)
{
    std::uint8_t b[8];
    PutF64(b, 0, v);
    ScriviByte(b, 8);
    return *this;
}

CArchive& CArchive::operator>>(double& v)
{
    std::uint8_t b[8];
    LeggiByte(b, 8);
    v = GetF64(b, 0);
    return *this;
}

CArchive& CArchive::operator<<(std::int32_t v)
{
    std::uint8_t b[4];
    PutU32(b, 0, static_cast<std::uint32_t>(v));
    ScriviByte(b, 4);
    return *this;
}

CArchive& CArchive::operator>>(std::int32_t& v)
{
    std::uint8_t b[4];
    LeggiByte(b, 4);
    v = static_cast<std::int32_t>(GetU32(b, 0));
    return *this;
}
