#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>
#include <string>

#include "junctions/harmonic/Harmonic3Link.h"

namespace {

struct Modulo {
    void* h;
    explicit Modulo(const std::string& percorso) : h(dlopen(percorso.c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~Modulo()
    {
        if (h != nullptr)
            dlclose(h);
    }
    Modulo(const Modulo&) = delete;
    Modulo& operator=(const Modulo&) = delete;
};

const std::string CartellaLib = KORVANE_LIB_DIR;

}  // namespace

TEST(HarmonicLibrerie, LaLibreriaDiRuntimeEsportaLeDueFunzioniECalcolaLoStesso)
{
    Modulo m(CartellaLib + "/libHarmonic_3Link_mode_stdC.so");
    ASSERT_NE(m.h, nullptr) << dlerror();
    const auto profilo = reinterpret_cast<PFN_Harmonic_3Link_mode>(dlsym(m.h, "Harmonic_3Link_mode"));
    const auto stato = reinterpret_cast<PFN_LVDLLStatus>(dlsym(m.h, "LVDLLStatus"));
    ASSERT_NE(profilo, nullptr);
    ASSERT_NE(stato, nullptr);

    const double casi[][7] = {{0, 0, 0, 10, 0, 100, 0.02}, {1.3, -4, 12, 30, -7, 55, 0.02}, {0.2, 0, 10, 0, 10, 1, 0.02}};
    for (const auto& c : casi) {
        double in1[7], in2[7], out1[10], out2[10];
        std::memcpy(in1, c, sizeof in1);
        std::memcpy(in2, c, sizeof in2);
        Harmonic_3Link_mode(in1, out1, 7, 10);
        profilo(in2, out2, 7, 10);
        EXPECT_EQ(std::memcmp(out1, out2, sizeof out1), 0);
    }
    char testo[8] = "xxxxxxx";
    EXPECT_EQ(stato(testo, sizeof testo, nullptr), 0);
    EXPECT_EQ(testo[0], '\0');
    EXPECT_EQ(stato(nullptr, 0, nullptr), 0);
}

TEST(HarmonicLibrerie, LaLibreriaCollegataNonHaLVDLLStatus)
{
    Modulo m(CartellaLib + "/libArmonicJunction.so");
    ASSERT_NE(m.h, nullptr) << dlerror();
    EXPECT_EQ(dlsym(m.h, "Harmonic_3Link_mode"), reinterpret_cast<void*>(&Harmonic_3Link_mode));
    EXPECT_EQ(dlsym(m.h, "LVDLLStatus"), nullptr);
}
