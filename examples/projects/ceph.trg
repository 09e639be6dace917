[GENERALE]

Versione          = 4
Salva LUT         = 0
Tipo Output       = 2

[PARAMETRI FILE DAT]

Versione          = 6
Group             = 3
Type              = 0
Version           = 1
TFCanUpdate       = -1
TMCanUpdate       = -1
YCanMove          = -1
Ceph patient pos  = -1
Pan keyb pos      = -1
Ceph arm pos      = 1
Bite block conf   = 1
Aps range Min     = 0
Aps range Max     = 9
Y axis corr len   = 0
Y axis corr min   = 0
Y axis corr max   = 0
Y axis open mounth= 0
X axis corr fact  = 0
Prm collim offset1= -1
Prm collim offset2= -1
Scn collim offset = -1
Pos Reset X [mm]  = 50.000000
Pos Reset Y [mm]  = 0.000000
Pos Reset R [deg] = -180.000000
Pos Reset H [mm]  = 0.000000
Pos Uscita X [mm] = 0.000000
Pos Uscita Y [mm] = 0.000000
Pos Uscita R [deg]= 0.000000
Pos Uscita H [mm] = 0.000000
Scout KV [kV]     = 0
Scout MA [mA]     = 0
Scout Coll Min    = 0
Scout Coll Max    = 0
1 Traiettorie in file .dat
LR img note       = 0
Px margins top    = -1
Px margins bottom = -1
Px margins right  = -1
Px margins left   = -1
Px margins topC   = -1
Px margins bottomC= -1
Px margins rightC = -1
Px margins leftC  = -1

Versione          = 1
[ORDINE ELEMENTI]
3 elementi salvati
tipo: 1, posizione: 0
tipo: 0, posizione: 0
tipo: 1, posizione: 1

Numero Traiettorie= 1

Tipo Curva        = 6
[PARAMETRI CURVA CEFALOMETRICA]

Versione          = 6
Nome Traiettoria  = Lateral ceph
Tempo Scansione s = 5.000000
Distanza SID mm   = 1514.000000
Spostamento + mm  = 199.984146
Spostamento - mm  = 10.000000
Ingrandimento     = 1.110000
Braccio destro    = 1
KV a regime %     = 100
Crea Rampa STF    = 1
Is Scout          = 0
Is Ingr. Costante = 1
Is 2 Assi         = 0


[RACCORDI]

Versione          = 1
2 Raccordi salvati

Versione          = 2
TipoRaccordo      = 1
Nome Raccordo     = From rest
Usa tempo minimo  = 1
Tempo Raccordo s  = 0.940000
Max acc Percento  = 80.000000
Gestione raggi    = 0
Punto Iniziale:
Ignora PuntoInizia= 0
Versione          = 2
dPosX             = -0.000000
dPosY             = -2.500000
dPosR             = 0.400000
dPosH             = 10.000000
dVelX             = 0.000000
dVelY             = 0.000000
dVelR             = 0.000000
dVelH             = 0.000000
iKV               = 0
imA               = 0
Punto Finale:
Ignora PuntoFinale= 0
Versione          = 2
dPosX             = -0.024670
dPosY             = -2.529886
dPosR             = 0.378434
dPosH             = 10.000000
dVelX             = -0.192871
dVelY             = -9.555664
dVelR             = 1.429240
dVelH             = 37.768555
iKV               = 75
imA               = 30

Versione          = 2
TipoRaccordo      = 1
Nome Raccordo     = To rest
Usa tempo minimo  = 1
Tempo Raccordo s  = 0.960000
Max acc Percento  = 80.000000
Gestione raggi    = 0
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
Ignora PuntoFinale= 0
Versione          = 2
dPosX             = -9.700000
dPosY             = -51.900000
dPosR             = 7.500000
dPosH             = 200.000000
dVelX             = 0.000000
dVelY             = 0.000000
dVelR             = 0.000000
dVelH             = 0.000000
iKV               = 0
imA               = 0

[END]