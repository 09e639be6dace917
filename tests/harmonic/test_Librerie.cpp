#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>
#include <memory>
#include <string>

#include "junctions/harmonic/Harmonic3Link.h"

namespace {

using Modulo = std::unique_ptr<void, int (*)(void*)>;

Modulo Apri(const std::string& nome)
{
    return Modulo(dlopen((std::string(KORVANE_LIB_DIR) + "/" + nome).c_str(), RTLD_NOW | RTLD_LOCAL), dlclose);
}

}  // namespace

TEST(HarmonicLibrerie, LaLibreriaDiRuntimeEsportaLeDueFunzioniECalcolaLoStesso)
{
    const Modulo m = Apri("libHarmonic_3Link_mode_stdC.so");
    ASSERT_NE(m, nullptr) << dlerror();
    const auto profilo = reinterpret_cast<PFN_Harmonic_3Link_mode>(dlsym(m.get(), "Harmonic_3Link_mode"));
    const auto stato = reinterpret_cast<PFN_LVDLLStatus>(dlsym(m.get(), "LVDLLStatus"));
    ASSERT_TRUE(profilo != nullptr && stato != nullptr);
    // One source built twice: both builds give the same profile, here one with a requested duration.
    double in[7] = {1.3, -4, 12, 30, -7, 55, 0.02}, daLinkata[10], diRuntime[10];
    Harmonic_3Link_mode(in, daLinkata, 7, 10);
    profilo(in, diRuntime, 7, 10);
    EXPECT_EQ(std::memcmp(daLinkata, diRuntime, sizeof daLinkata), 0);
    char testo[8] = "xxxxxxx";
    EXPECT_TRUE(stato(testo, sizeof testo, nullptr) == 0 && testo[0] == '\0');
    EXPECT_EQ(stato(nullptr, 0, nullptr), 0);

    // The library the code links carries the profile function alone.
    const Modulo linkata = Apri("libArmonicJunction.so");
    ASSERT_NE(linkata, nullptr) << dlerror();
    EXPECT_EQ(dlsym(linkata.get(), "Harmonic_3Link_mode"), reinterpret_cast<void*>(&Harmonic_3Link_mode));
    EXPECT_EQ(dlsym(linkata.get(), "LVDLLStatus"), nullptr);
}
