[GENERALE]

Versione          = 4
Salva LUT         = 0
Tipo Output       = 2

[PARAMETRI FILE DAT]

Versione          = 6
Group             = 4
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

Tipo Curva        = 3
[PARAMETRI CURVA CIRCOLARE]

Versione          = 6
Nome Traiettoria  = CB3D scan
Ampiezza arco deg = 360.005715
Pos Iniz arco deg = -180.000000
R Cerchio XY mm   = 0.000000
Tempo Scansione s = 20.000000
X Centro rotaz mm = 0.000000
Y Centro rotaz mm = 0.000000
KV a regime %     = 100
mA frontali %     = 100
mA laterali %     = 100
Is Scout          = 0


[RACCORDI]

Versione          = 1
2 Raccordi salvati

Versione          = 2
TipoRaccordo      = 1
Nome Raccordo     = From rest
Usa tempo minimo  = 1
Tempo Raccordo s  = 1.300000
Max acc Percento  = 80.000000
Gestione raggi    = 0
Punto Iniziale:
Ignora PuntoInizia= 0
Versione          = 2
dPosX             = -40.000000
dPosY             = 22.000000
dPosR             = -199.800000
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
dPosX             = 0.000000
dPosY             = 0.000000
dPosR             = -180.000000
dPosH             = 0.000000
dVelX             = 0.000000
dVelY             = 0.000000
dVelR             = 18.000286
dVelH             = 0.000000
iKV               = 100
imA               = 100

Versione          = 2
TipoRaccordo      = 1
Nome Raccordo     = To rest
Usa tempo minimo  = 1
Tempo Raccordo s  = 1.300000
Max acc Percento  = 80.000000
Gestione raggi    = 0
Punto Iniziale:
Ignora PuntoInizia= 0
Versione          = 2
dPosX             = 0.000000
dPosY             = 0.000000
dPosR             = 180.005715
dPosH             = 0.000000
dVelX             = 0.000000
dVelY             = 0.000000
dVelR             = 18.000286
dVelH             = 0.000000
iKV               = 100
imA               = 100
Punto Finale:
Ignora PuntoFinale= 0
Versione          = 2
dPosX             = -40.000000
dPosY             = 22.000000
dPosR             = 199.800000
dPosH             = 0.000000
dVelX             = 0.000000
dVelY             = 0.000000
dVelR             = 0.000000
dVelH             = 0.000000
iKV               = 0
imA               = 0

[END]