[GENERALE]

Versione          = 2
Salva LUT         = 1

Versione          = 1
[ORDINE ELEMENTI]
2 elementi salvati
tipo: 0, posizione: 0
tipo: 1, posizione: 0

Numero Traiettorie= 1

Tipo Curva        = 6
[PARAMETRI CURVA CEFALOMETRICA]

Versione          = 2
Nome Traiettoria  = Old lateral ceph
Elimina 64 pixel  = 0
Tempo Scansione s = 5.000000
Distanza SID mm   = 1514.000000
Spostamento + mm  = 200.000000
Spostamento - mm  = 10.000000
Ingrandimento     = 1.110000
Braccio destro    = 1
KV a regime %     = 100

[RACCORDI]

Versione          = 1
1 Raccordi salvati

Versione          = 1
TipoRaccordo      = 0
Nome Raccordo     = Ramp to rest
Usa tempo minimo  = 1
Tempo Raccordo s  = 1.000000
Max acc Percento  = 80.000000
Punto Iniziale:
Ignora PuntoInizia= 0
Versione          = 2
dPosX             = -9.739416
dPosY             = -51.876907
dPosR             = 7.524634
dPosH             = 199.984131
dVelX             = -3.686523
dVelY             = -10.451660
dVelR             = 1.429240
dVelH             = 38.422852
iKV               = 100
imA               = 100
Punto Finale:
Ignora PuntoFinale= 1
Versione          = 2
dPosX             = 0.000000
dPosY             = 0.000000
dPosR             = 0.000000
dPosH             = 0.000000
dVelX             = 0.000000
dVelY             = 0.000000
dVelR             = 0.000000
dVelH             = 0.000000
iKV               = 0
imA               = 0

[END]