[GENERALE]

Versione          = 4
Salva LUT         = 0
Tipo Output       = 2

[PARAMETRI FILE DAT]

Versione          = 6
Group             = 0
Type              = 0
Version           = 1
TFCanUpdate       = -1
TMCanUpdate       = -1
YCanMove          = -1
Ceph patient pos  = -1
Pan keyb pos      = -1
Ceph arm pos      = -1
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

Tipo Curva        = 4
[PARAMETRI CURVA LINEARE]

Versione          = 7
Nome Traiettoria  = Linear 50 mm
Lunghezza retta mm= 50.000000
X centro retta mm = 48.000000
Y centro retta mm = -36.000000
Tempo Scansione s = 3.200000
Incl retta deg    = 17.000000
R proiezione mm   = 60.000000
Ingrandimento     = 1.500000
Disortogonalit deg= 0.000000
Inv. sensore      = 1
Inv. rotazione    = 0
Inv. scaricamento = 0
KV a regime %     = 100
Is Scout          = 0
Is 2 Assi         = 0


[RACCORDI]

Versione          = 1
2 Raccordi salvati

Versione          = 2
TipoRaccordo      = 1
Nome Raccordo     = From rest
Usa tempo minimo  = 1
Tempo Raccordo s  = 1.200000
Max acc Percento  = 80.000000
Gestione raggi    = 0
Punto Iniziale:
Ignora PuntoInizia= 0
Versione          = 2
dPosX             = 61.400000
dPosY             = -16.200000
dPosR             = -49.800000
dPosH             = 0.000000
dVelX             = 0.000000
dVelY             = 0.000000
dVelR             = 0.000000
dVelH             = 0.000000
iKV               = 0
imA               = 0
Punto Finale:
Ignora PuntoFinale= 0
Versione          = 2
dPosX             = 61.354548
dPosY             = -16.224334
dPosR             = -49.751320
dPosH             = 0.000000
dVelX             = -12.551270
dVelY             = -2.158203
dVelR             = -14.528911
dVelH             = 0.000000
iKV               = 100
imA               = 100

Versione          = 2
TipoRaccordo      = 1
Nome Raccordo     = To rest
Usa tempo minimo  = 1
Tempo Raccordo s  = 1.200000
Max acc Percento  = 80.000000
Gestione raggi    = 0
Punto Iniziale:
Ignora PuntoInizia= 0
Versione          = 2
dPosX             = 25.874030
dPosY             = -27.071258
dPosR             = -96.243836
dPosH             = 0.000000
dVelX             = -11.613770
dVelY             = -5.229492
dVelR             = -14.528911
dVelH             = 0.000000
iKV               = 100
imA               = 100
Punto Finale:
Ignora PuntoFinale= 0
Versione          = 2
dPosX             = 25.900000
dPosY             = -27.100000
dPosR             = -96.200000
dPosH             = 0.000000
dVelX             = 0.000000
dVelY             = 0.000000
dVelR             = 0.000000
dVelH             = 0.000000
iKV               = 0
imA               = 0

[END]