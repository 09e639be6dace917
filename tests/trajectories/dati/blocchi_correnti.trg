Tipo Curva        = 5
[PARAMETRI CURVA CARICATA DA CSV]

Versione          = 3
Nome Traiettoria  = Scan da file
Tipo curva vero   = 3
Braccio ceph dx   = 0
Ingrandimento     = 1.250000
Is Scout          = 1

Tipo Curva        = 2
[PARAMETRI CURVA PANORAMICA]

Versione          = 8
Nome Traiettoria  = Pan adulto  standard
Ingrandimento     = 1.250000
Tempo Scansione s = 14.200000
Inv. scaricamento = 1
Dist punti tuning = 5.000000
Sensibilita Spline= 3.000000
Pos RProj cost Dx = 40
Pos RProj cost Sx = 42
Traiet. simmetrica= 0
Pos Dist Ang = 0  = 3
Tipo Ricostruzione= 1
Dist P tuning KV  = 10.000000
Sensib Spline KV  = 3.000000
Dist P tuning shif= 30.000000
Sensib Spline shif= 2.000000
Is Scout          = 0
Is 2 Assi         = 1
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
Mostra Gr KV      = 1
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
Ingr Gr Shift     = 25.000000
Offset grafico KV = -4

3 Punti Tuning
10.000000,0.500000
130.000000,0.750000
250.000000,0.500000

2 Punti Tuning KV
10.000000,80.000000
250.000000,90.000000

0 Punti Tuning Shift
Tipo Curva        = 3
[PARAMETRI CURVA CIRCOLARE]

Versione          = 6
Nome Traiettoria  = CB3D 8x8
Ampiezza arco deg = 360.000000
Pos Iniz arco deg = -180.000000
R Cerchio XY mm   = 0.000000
Tempo Scansione s = 12.500000
X Centro rotaz mm = 1.000000
Y Centro rotaz mm = -2.000000
KV a regime %     = 75
mA frontali %     = 90
mA laterali %     = 110
Is Scout          = 0

Tipo Curva        = 4
[PARAMETRI CURVA LINEARE]

Versione          = 7
Nome Traiettoria  = Linear ATM
Lunghezza retta mm= 40.000000
X centro retta mm = 45.500000
Y centro retta mm = -30.000000
Tempo Scansione s = 4.000000
Incl retta deg    = 12.500000
R proiezione mm   = 55.000000
Ingrandimento     = 1.300000
Disortogonalit deg= 2.500000
Inv. sensore      = 0
Inv. rotazione    = 1
Inv. scaricamento = 1
KV a regime %     = 90
Is Scout          = 1
Is 2 Assi         = 1

Tipo Curva        = 6
[PARAMETRI CURVA CEFALOMETRICA]

Versione          = 6
Nome Traiettoria  = Ceph LL
Tempo Scansione s = 6.000000
Distanza SID mm   = 1500.000000
Spostamento + mm  = 120.000000
Spostamento - mm  = -130.000000
Ingrandimento     = 1.100000
Braccio destro    = 0
KV a regime %     = 95
Crea Rampa STF    = 1
Is Scout          = 0
Is Ingr. Costante = 0
Is 2 Assi         = 1

