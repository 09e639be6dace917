#include "platform/Locale.h"

namespace {
// One "C" locale object for the process, created on first use and never freed.
locale_t LocaleCCondiviso()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}
}  // namespace

LocaleC::LocaleC() : m_precedente(static_cast<locale_t>(nullptr))
{
    const locale_t c = LocaleCCondiviso();
    if (c != static_cast<locale_t>(nullptr))
        m_precedente = uselocale(c);
}

LocaleC::~LocaleC()
{
    if (m_precedente != static_cast<locale_t>(nullptr))
        uselocale(m_precedente);
}
