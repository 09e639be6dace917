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

Tipo Curva        = 2
[PARAMETRI CURVA PANORAMICA]

Versione          = 8
Nome Traiettoria  = Adult panoramic
Ingrandimento     = 1.270000
Tempo Scansione s = 14.000000
Inv. scaricamento = 0
Dist punti tuning = 5.000000
Sensibilita Spline= 2.000000
Pos RProj cost Dx = 111
Pos RProj cost Sx = 111
Traiet. simmetrica= 1
Pos Dist Ang = 0  = 111
Tipo Ricostruzione= 2
Dist P tuning KV  = 10.000000
Sensib Spline KV  = 3.000000
Dist P tuning shif= 30.000000
Sensib Spline shif= 2.000000
Is Scout          = 0
Is 2 Assi         = 0
Grafico Analizzato= 3
Mostra Gr Rotaz   = 1
Mostra Gr Distors = 1
Mostra Gr Derivata= 0
Mostra Gr R Proiez= 1
Mostra Gr R Pr Cos= 0
Mostra Gr X Denti = 1
Mostra Gr Pos CMR = 0
Mostra Gr Vel CMR = 0
Mostra Gr Acc CMR = 0
Mostra Gr Ingr Y  = 0
Mostra Gr KV      = 0
Mostra Gr Shift   = 0
Ingr X Grafici    = 2.000000
Ingr Gr Rotaz     = 0.500000
Ingr Gr Distors   = 2.000000
Ingr Gr X Denti   = 2.000000
Ingr Gr Derivata  = 5.000000
Ingr Gr R Proiez  = 1.500000
Ingr Gr R Pr Cos  = 0.500000
Ingr Gr Pos CMR   = 3.000000
Ingr Gr Vel CMR   = 100.000000
Ingr Gr Acc CMR   = 500.000000
Ingr Gr Ingr Y    = 500.000000
Ingr Gr KV        = 1.500000
Ingr Gr Shift     = 30.000000
Offset grafico KV = 0

15 Punti Tuning
0.000000,100.000000
31.000000,120.000000
51.000000,120.000000
66.000000,80.000000
81.000000,40.000000
91.000000,24.000000
101.000000,28.000000
111.000000,30.000000
121.000000,28.000000
131.000000,24.000000
141.000000,40.000000
156.000000,80.000000
171.000000,120.000000
191.000000,120.000000
222.000000,100.000000

7 Punti Tuning KV
0.000000,70.000000
51.000000,72.000000
86.000000,85.000000
111.000000,85.000000
136.000000,85.000000
171.000000,72.000000
222.000000,70.000000

3 Punti Tuning Shift
0.000000,1.000000
111.000000,1.000000
222.000000,1.000000

[RACCORDI]

Versione          = 1
2 Raccordi salvati

Versione          = 2
TipoRaccordo      = 1
Nome Raccordo     = From rest
Usa tempo minimo  = 1
Tempo Raccordo s  = 1.220000
Max acc Percento  = 80.000000
Gestione raggi    = 0
Punto Iniziale:
Ignora PuntoInizia= 0
Versione          = 2
dPosX             = 3.400000
dPosY             = -26.900000
dPosR             = -194.200000
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
dPosX             = 3.416098
dPosY             = -26.895816
dPosR             = -194.151266
dPosH             = 0.000000
dVelX             = -9.372559
dVelY             = 15.615234
dVelR             = 14.878592
dVelH             = 0.000000
iKV               = 70
imA               = 100

Versione          = 2
TipoRaccordo      = 1
Nome Raccordo     = To rest
Usa tempo minimo  = 1
Tempo Raccordo s  = 1.240000
Max acc Percento  = 80.000000
Gestione raggi    = 0
Punto Iniziale:
Ignora PuntoInizia= 0
Versione          = 2
dPosX             = -3.414663
dPosY             = -26.893473
dPosR             = 14.149017
dPosH             = 0.000000
dVelX             = -9.372559
dVelY             = -15.615234
dVelR             = 14.878592
dVelH             = 0.000000
iKV               = 70
imA               = 100
Punto Finale:
Ignora PuntoFinale= 0
Versione          = 2
dPosX             = -3.400000
dPosY             = -26.900000
dPosR             = 14.100000
dPosH             = 0.000000
dVelX             = 0.000000
dVelY             = 0.000000
dVelR             = 0.000000
dVelH             = 0.000000
iKV               = 0
imA               = 0

[END]