#pragma once

#include <locale.h>

#include "Export.h"

// Switches the calling thread to the "C" numeric locale for the guard's lifetime, so text files
// always carry a decimal point; the process locale is never touched.
class KORVANE_API LocaleC {
public:
    LocaleC();
    ~LocaleC();
    LocaleC(const LocaleC&) = delete;
    LocaleC& operator=(const LocaleC&) = delete;

private:
    locale_t m_precedente;
};
