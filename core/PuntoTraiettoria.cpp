#include "core/PuntoTraiettoria.h"

PUNTO_TRAIETTORIA::PUNTO_TRAIETTORIA()
    : dPosX(0.0), dPosY(0.0), dPosR(0.0), dPosH(0.0), dVelX(0.0), dVelY(0.0), dVelR(0.0), dVelH(0.0), iKV(0), imA(0)
{
}

PUNTO_TRAIETTORIA& PUNTO_TRAIETTORIA::operator=(const PUNTO_TRAIETTORIA& altro) = default;

int PUNTO_TRAIETTORIA::operator==(const PUNTO_TRAIETTORIA& altro) const
{
    return dPosX == altro.dPosX && dPosY == altro.dPosY && dPosR == altro.dPosR && dPosH == altro.dPosH &&
                   dVelX == altro.dVelX && dVelY == altro.dVelY && dVelR == altro.dVelR && dVelH == altro.dVelH &&
                   iKV == altro.iKV && imA == altro.imA
               ? 1
               : 0;
}

PASSO_TRAIETTORIA::PASSO_TRAIETTORIA() : iX(0), iY(0), iR(0), iC(0), iKV(0), imA(0), iH(0) {}

PASSO_TRAIETTORIA& PASSO_TRAIETTORIA::operator=(const PASSO_TRAIETTORIA& altro) = default;

int PASSO_TRAIETTORIA::operator==(const PASSO_TRAIETTORIA& altro) const
{
    return iX == altro.iX && iY == altro.iY && iR == altro.iR && iC == altro.iC && iKV == altro.iKV &&
                   imA == altro.imA && iH == altro.iH
               ? 1
               : 0;
}

CElementoOrdine& CElementoOrdine::operator=(const CElementoOrdine& altro) = default;

int CElementoOrdine::operator==(const CElementoOrdine& altro) const
{
    return tipo == altro.tipo && posizione == altro.posizione ? 1 : 0;
}
