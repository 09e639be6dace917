#include "core/PuntoTraiettoria.h"

int PUNTO_TRAIETTORIA::operator==(const PUNTO_TRAIETTORIA& altro) const
{
    return dPosX == altro.dPosX && dPosY == altro.dPosY && dPosR == altro.dPosR && dPosH == altro.dPosH &&
                   dVelX == altro.dVelX && dVelY == altro.dVelY && dVelR == altro.dVelR && dVelH == altro.dVelH &&
                   iKV == altro.iKV && imA == altro.imA
               ? 1
               : 0;
}

int PASSO_TRAIETTORIA::operator==(const PASSO_TRAIETTORIA& altro) const
{
    return iX == altro.iX && iY == altro.iY && iR == altro.iR && iC == altro.iC && iKV == altro.iKV &&
                   imA == altro.imA && iH == altro.iH
               ? 1
               : 0;
}

int CElementoOrdine::operator==(const CElementoOrdine& altro) const
{
    return tipo == altro.tipo && posizione == altro.posizione ? 1 : 0;
}
