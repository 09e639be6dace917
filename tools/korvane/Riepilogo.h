#pragma once

#include <cmath>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "korvane.h"

// What a person wants to know about a computed motion: its length and how close each axis came
// to the machine's limits.
struct RiepilogoAsse {
    std::string nome;
    double velocitaMax = 0.0;      // largest |velocity| reached
    double limiteVelocita = 0.0;   // the machine's "Max Vel"
    double accelerazioneMax = 0.0; // largest |acceleration| between consecutive steps
    double limiteAccelerazione = 0.0;
    double posizioneMin = 0.0;
    double posizioneMax = 0.0;
    double limitePosMin = 0.0;
    double limitePosMax = 0.0;
};

struct RiepilogoMoto {
    int passi = 0;
    double durata = 0.0;
    std::vector<RiepilogoAsse> assi;  // X, Y, R, H
    std::string anticollisione;       // "passed", "skipped (--no-head)", ...
};

RiepilogoMoto RiassumiMoto(const std::vector<PUNTO_TRAIETTORIA>& stati, const CLimitiEParametri& macchina);
void StampaRiepilogo(const RiepilogoMoto& r, std::FILE* f);
nlohmann::json RiepilogoInJson(const RiepilogoMoto& r);

// A value as a table shows it with `decimali` decimals: what rounds to zero is 0, never "-0.000".
inline double PerTabella(double v, int decimali = 3)
{
    return std::fabs(v) < 0.5 * std::pow(10.0, -decimali) ? 0.0 : v;
}

// Axis states as CSV text: time, positions, velocities, kV, mA.
std::string StatiCsv(const std::vector<PUNTO_TRAIETTORIA>& stati, double dt);
