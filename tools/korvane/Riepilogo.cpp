#include "Riepilogo.h"

#include <algorithm>
#include <cmath>

namespace {
struct AccessoAsse {
    const char* nome;
    double PUNTO_TRAIETTORIA::*pos;
    double PUNTO_TRAIETTORIA::*vel;
    PARAMETRI_ASSE CLimitiEParametri::*asse;
};
const AccessoAsse ASSI[] = {
    {"X", &PUNTO_TRAIETTORIA::dPosX, &PUNTO_TRAIETTORIA::dVelX, &CLimitiEParametri::AsseX},
    {"Y", &PUNTO_TRAIETTORIA::dPosY, &PUNTO_TRAIETTORIA::dVelY, &CLimitiEParametri::AsseY},
    {"R", &PUNTO_TRAIETTORIA::dPosR, &PUNTO_TRAIETTORIA::dVelR, &CLimitiEParametri::AsseR},
    {"H", &PUNTO_TRAIETTORIA::dPosH, &PUNTO_TRAIETTORIA::dVelH, &CLimitiEParametri::AsseH},
};
}  // namespace

RiepilogoMoto RiassumiMoto(const std::vector<PUNTO_TRAIETTORIA>& stati, const CLimitiEParametri& macchina)
{
    RiepilogoMoto r;
    const double dt = macchina.PassoTemporale;
    r.passi = stati.empty() ? 0 : static_cast<int>(stati.size()) - 1;
    r.durata = r.passi * dt;
    for (const AccessoAsse& a : ASSI) {
        RiepilogoAsse s;
        s.nome = a.nome;
        const PARAMETRI_ASSE& lim = macchina.*(a.asse);
        s.limiteVelocita = lim.MaxVel;
        s.limiteAccelerazione = lim.MaxAcc;
        s.limitePosMin = lim.PosMin;
        s.limitePosMax = lim.PosMax;
        if (!stati.empty()) {
            s.posizioneMin = s.posizioneMax = stati.front().*(a.pos);
        }
        for (size_t k = 0; k < stati.size(); ++k) {
            const double p = stati[k].*(a.pos);
            const double v = stati[k].*(a.vel);
            s.posizioneMin = std::min(s.posizioneMin, p);
            s.posizioneMax = std::max(s.posizioneMax, p);
            s.velocitaMax = std::max(s.velocitaMax, std::fabs(v));
            if (k >= 1 && dt > 0)
                s.accelerazioneMax = std::max(s.accelerazioneMax, std::fabs(v - stati[k - 1].*(a.vel)) / dt);
        }
        r.assi.push_back(s);
    }
    return r;
}

void StampaRiepilogo(const RiepilogoMoto& r, std::FILE* f)
{
    std::fprintf(f, "steps: %d, duration: %.3f s\n", r.passi, r.durata);
    std::fprintf(f, "axis  |v| max / limit        |a| max / limit         position range / limits\n");
    for (const RiepilogoAsse& a : r.assi)
        std::fprintf(f, "%-4s  %8.3f / %-8.3f %s  %9.3f / %-9.3f %s  %9.3f .. %-9.3f (%g .. %g)\n", a.nome.c_str(),
                     PerTabella(a.velocitaMax), a.limiteVelocita, a.velocitaMax > a.limiteVelocita ? "!" : " ",
                     PerTabella(a.accelerazioneMax), a.limiteAccelerazione,
                     a.accelerazioneMax > a.limiteAccelerazione ? "!" : " ", PerTabella(a.posizioneMin),
                     PerTabella(a.posizioneMax), a.limitePosMin, a.limitePosMax);
    std::fprintf(f, "anti-collision: %s\n", r.anticollisione.c_str());
}

nlohmann::json RiepilogoInJson(const RiepilogoMoto& r)
{
    nlohmann::json j;
    j["steps"] = r.passi;
    j["duration_s"] = r.durata;
    j["anti_collision"] = r.anticollisione;
    for (const RiepilogoAsse& a : r.assi)
        j["axes"][a.nome] = {{"max_velocity", a.velocitaMax},       {"limit_velocity", a.limiteVelocita},
                             {"max_acceleration", a.accelerazioneMax}, {"limit_acceleration", a.limiteAccelerazione},
                             {"min_position", a.posizioneMin},      {"max_position", a.posizioneMax},
                             {"limit_position", {a.limitePosMin, a.limitePosMax}}};
    return j;
}

std::string StatiCsv(const std::vector<PUNTO_TRAIETTORIA>& stati, double dt)
{
    LocaleC guardia;
    std::string testo = "t_s,x_mm,y_mm,r_deg,h_mm,vx_mm_s,vy_mm_s,vr_deg_s,vh_mm_s,kv_pct,ma_pct\n";
    char riga[4096];  // holds nine doubles at their widest, 317 characters each
    for (size_t k = 0; k < stati.size(); ++k) {
        const PUNTO_TRAIETTORIA& p = stati[k];
        const int n = std::snprintf(riga, sizeof riga, "%.4f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%.6f,%d,%d\n",
                                    static_cast<double>(k) * dt, p.dPosX, p.dPosY, p.dPosR, p.dPosH, p.dVelX, p.dVelY,
                                    p.dVelR, p.dVelH, p.iKV, p.imA);
        testo.append(riga, static_cast<size_t>(std::clamp(n, 0, static_cast<int>(sizeof riga) - 1)));
    }
    return testo;
}
