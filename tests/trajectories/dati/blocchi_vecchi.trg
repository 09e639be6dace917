Tipo Curva        = 5
[PARAMETRI CURVA CARICATA DA CSV]

Versione          = 1
Nome Traiettoria  = csv uno
Elimina 64 pixel  = 0
Tipo curva vero   = 4
Braccio ceph dx   = 0
Ingrandimento     = 1.500000

Tipo Curva        = 5
[PARAMETRI CURVA CARICATA DA CSV]

Versione          = 2
Nome Traiettoria  = csv due
Tipo curva vero   = 6
Braccio ceph dx   = 1
Ingrandimento     = 2.000000

Tipo Curva        = 2
[PARAMETRI CURVA PANORAMICA]

Versione          = 1
Ingrandimento     = 1.200000
Tempo Scansione s = 12.000000
KV a regime %     = 85
Dist punti tuning = 4.000000
Pos RProj cost Dx = 38
Pos RProj cost Sx = 39
Sensibilita Spline= 2.500000
Traiet. simmetrica= 1
Pos Dist Ang = 0  = 2
20.000000,0.500000
240.000000,0.600000

Tipo Curva        = 2
[PARAMETRI CURVA PANORAMICA]

Versione          = 2
Ingrandimento     = 1.200000
Tempo Scansione s = 12.000000
Dist punti tuning = 4.000000
Sensibilita Spline= 2.500000
Pos RProj cost Dx = 38
Pos RProj cost Sx = 39
Traiet. simmetrica= 1
Pos Dist Ang = 0  = 2
Dist P tuning KV  = 12.000000
Sensib Spline KV  = 2.500000
2 Punti Tuning
15.000000,0.500000
245.000000,0.600000

1 Punti Tuning KV
15.000000,70.000000

Tipo Curva        = 2
[PARAMETRI CURVA PANORAMICA]

Versione          = 3
Nome Traiettoria  = pan tre
Ingrandimento     = 1.200000
Tempo Scansione s = 12.000000
Dist punti tuning = 4.000000
Sensibilita Spline= 2.500000
Pos RProj cost Dx = 38
Pos RProj cost Sx = 39
Traiet. simmetrica= 1
Pos Dist Ang = 0  = 2
Dist P tuning KV  = 12.000000
Sensib Spline KV  = 2.750000
2 Punti Tuning
15.000000,0.500000
245.000000,0.600000

1 Punti Tuning KV
15.000000,70.000000

Tipo Curva        = 2
[PARAMETRI CURVA PANORAMICA]

Versione          = 4
Nome Traiettoria  = pan quattro
Elimina 64 pixel  = 1
Ingrandimento     = 1.200000
Tempo Scansione s = 12.000000
Dist punti tuning = 4.000000
Sensibilita Spline= 2.500000
Pos RProj cost Dx = 38
Pos RProj cost Sx = 39
Traiet. simmetrica= 1
Pos Dist Ang = 0  = 2
Dist P tuning KV  = 12.000000
Sensib Spline KV  = 2.500000
2 Punti Tuning
15.000000,0.500000
245.000000,0.600000

1 Punti Tuning KV
15.000000,70.000000

Tipo Curva        = 2
[PARAMETRI CURVA PANORAMICA]

Versione          = 5
Nome Traiettoria  = pan cinque
Ingrandimento     = 1.200000
Tempo Scansione s = 12.000000
Dist punti tuning = 4.000000
Sensibilita Spline= 2.500000
Pos RProj cost Dx = 38
Pos RProj cost Sx = 39
Traiet. simmetrica= 1
Pos Dist Ang = 0  = 2
Dist P tuning KV  = 12.000000
Sensib Spline KV  = 2.500000
2 Punti Tuning
15.000000,0.500000
245.000000,0.600000

1 Punti Tuning KV
15.000000,70.000000

Tipo Curva        = 2
[PARAMETRI CURVA PANORAMICA]

Versione          = 6
Nome Traiettoria  = pan sei
Ingrandimento     = 1.200000
Tempo Scansione s = 12.000000
Dist punti tuning = 4.000000
Sensibilita Spline= 2.500000
Pos RProj cost Dx = 38
Pos RProj cost Sx = 39
Traiet. simmetrica= 1
Pos Dist Ang = 0  = 2
Dist P tuning KV  = 12.000000
Sensib Spline KV  = 2.500000
Is Scout          = 1
2 Punti Tuning
15.000000,0.500000
245.000000,0.600000

1 Punti Tuning KV
15.000000,70.000000

Tipo Curva        = 2
[PARAMETRI CURVA PANORAMICA]

Versione          = 7
Nome Traiettoria  = pan sette
Ingrandimento     = 1.200000
Tempo Scansione s = 12.000000
Dist punti tuning = 4.000000
Sensibilita Spline= 2.500000
Pos RProj cost Dx = 38
Pos RProj cost Sx = 39
Traiet. simmetrica= 1
Pos Dist Ang = 0  = 2
Tipo Ricostruzione= 0
Dist P tuning KV  = 12.000000
Sensib Spline KV  = 2.500000
Is Scout          = 0
Is 2 Assi         = 1
3 Punti Tuning
10.000000,0.500000
130.000000,0.550000
250.000000,0.600000

1 Punti Tuning KV
10.000000,70.000000

Tipo Curva        = 3
[PARAMETRI CURVA CIRCOLARE]

Versione          = 1
Ampiezza arco deg = 200.000000
Pos Iniz arco deg = -190.000000
R Cerchio XY mm   = 40.000000
Tempo Scansione s = 9.000000
X Centro rotaz mm = 1.000000
Y Centro rotaz mm = 2.000000
KV a regime %     = 70

Tipo Curva        = 3
[PARAMETRI CURVA CIRCOLARE]

Versione          = 2
Nome Traiettoria  = circ due
Ampiezza arco deg = 200.000000
Pos Iniz arco deg = -190.000000
R Cerchio XY mm   = 40.000000
Tempo Scansione s = 9.000000
X Centro rotaz mm = 1.000000
Y Centro rotaz mm = 2.000000
KV a regime %     = 71

Tipo Curva        = 3
[PARAMETRI CURVA CIRCOLARE]

Versione          = 3
Nome Traiettoria  = circ tre
Elimina 64 pixel  = 0
Ampiezza arco deg = 200.000000
Pos Iniz arco deg = -190.000000
R Cerchio XY mm   = 40.000000
Tempo Scansione s = 9.000000
X Centro rotaz mm = 1.000000
Y Centro rotaz mm = 2.000000
KV a regime %     = 72

Tipo Curva        = 3
[PARAMETRI CURVA CIRCOLARE]

Versione          = 4
Nome Traiettoria  = circ quattro
Elimina 64 pixel  = 0
Ampiezza arco deg = 200.000000
Pos Iniz arco deg = -190.000000
R Cerchio XY mm   = 40.000000
Tempo Scansione s = 9.000000
X Centro rotaz mm = 1.000000
Y Centro rotaz mm = 2.000000
KV a regime %     = 73
mA frontali %     = 80
mA laterali %     = 81

Tipo Curva        = 3
[PARAMETRI CURVA CIRCOLARE]

Versione          = 5
Nome Traiettoria  = circ cinque
Ampiezza arco deg = 200.000000
Pos Iniz arco deg = -190.000000
R Cerchio XY mm   = 40.000000
Tempo Scansione s = 9.000000
X Centro rotaz mm = 1.000000
Y Centro rotaz mm = 2.000000
KV a regime %     = 74
mA frontali %     = 82
mA laterali %     = 83

Tipo Curva        = 4
[PARAMETRI CURVA LINEARE]

Versione          = 1
Nome Traiettoria  = lin uno
Lunghezza retta mm= 40.000000
X centro retta mm = 44.000000
X centro retta mm = -31.000000
Tempo Scansione s = 4.000000
Incl retta deg    = 12.000000
R proiezione mm   = 55.000000
Ingrandimento     = 1.300000
Sensore in alto   = 5
KV a regime %     = 91

Tipo Curva        = 4
[PARAMETRI CURVA LINEARE]

Versione          = 2
Nome Traiettoria  = lin due
Elimina 64 pixel  = 0
Lunghezza retta mm= 40.000000
X centro retta mm = 44.000000
X centro retta mm = -32.000000
Tempo Scansione s = 4.000000
Incl retta deg    = 12.000000
R proiezione mm   = 55.000000
Ingrandimento     = 1.300000
Sensore in alto   = 0
KV a regime %     = 92

Tipo Curva        = 4
[PARAMETRI CURVA LINEARE]

Versione          = 3
Nome Traiettoria  = lin tre
Elimina 64 pixel  = 0
Lunghezza retta mm= 40.000000
X centro retta mm = 44.000000
X centro retta mm = -33.000000
Tempo Scansione s = 4.000000
Incl retta deg    = 12.000000
R proiezione mm   = 55.000000
Ingrandimento     = 1.300000
Disortogonalit deg= 1.500000
Sensore in alto   = 1
KV a regime %     = 93

Tipo Curva        = 4
[PARAMETRI CURVA LINEARE]

Versione          = 4
Nome Traiettoria  = lin quattro
Lunghezza retta mm= 40.000000
X centro retta mm = 44.000000
X centro retta mm = -34.000000
Tempo Scansione s = 4.000000
Incl retta deg    = 12.000000
R proiezione mm   = 55.000000
Ingrandimento     = 1.300000
Disortogonalit deg= 1.750000
Sensore in alto   = 1
KV a regime %     = 94

Tipo Curva        = 4
[PARAMETRI CURVA LINEARE]

Versione          = 5
Nome Traiettoria  = lin cinque
Lunghezza retta mm= 40.000000
X centro retta mm = 44.000000
Y centro retta mm = -35.000000
Tempo Scansione s = 4.000000
Incl retta deg    = 12.000000
R proiezione mm   = 55.000000
Ingrandimento     = 1.300000
Disortogonalit deg= 1.500000
Sensore in alto   = 1
KV a regime %     = 95
Is Scout          = 1

Tipo Curva        = 4
[PARAMETRI CURVA LINEARE]

Versione          = 6
Nome Traiettoria  = lin sei
Lunghezza retta mm= 40.000000
X centro retta mm = 44.000000
Y centro retta mm = -36.000000
Tempo Scansione s = 4.000000
Incl retta deg    = 12.000000
R proiezione mm   = 55.000000
Ingrandimento     = 1.300000
Disortogonalit deg= 1.500000
Sensore in alto   = 0
Inv. scaricamento = 1
KV a regime %     = 96
Is Scout          = 0
Is 2 Assi         = 1

Tipo Curva        = 6
[PARAMETRI CURVA CEFALOMETRICA]

Versione          = 1
Nome Traiettoria  = ceph uno
Elimina 64 pixel  = 1
Tempo Scansione s = 6.000000
Distanza SID mm   = 1500.000000
Spostamento + mm  = 120.000000
Spostamento - mm  = -130.000000
Braccio destro    = 0
KV a regime %     = 81

Tipo Curva        = 6
[PARAMETRI CURVA CEFALOMETRICA]

Versione          = 2
Nome Traiettoria  = ceph due
Elimina 64 pixel  = 0
Tempo Scansione s = 6.000000
Distanza SID mm   = 1500.000000
Spostamento + mm  = 120.000000
Spostamento - mm  = -130.000000
Ingrandimento     = 1.050000
Braccio destro    = 1
KV a regime %     = 82

Tipo Curva        = 6
[PARAMETRI CURVA CEFALOMETRICA]

Versione          = 3
Nome Traiettoria  = ceph tre
Elimina 64 pixel  = 0
Tempo Scansione s = 6.000000
Distanza SID mm   = 1500.000000
Spostamento + mm  = 120.000000
Spostamento - mm  = -130.000000
Ingrandimento     = 1.050000
Braccio destro    = 1
KV a regime %     = 83
Crea Rampa STF    = 1

Tipo Curva        = 6
[PARAMETRI CURVA CEFALOMETRICA]

Versione          = 4
Nome Traiettoria  = ceph quattro
Tempo Scansione s = 6.000000
Distanza SID mm   = 1500.000000
Spostamento + mm  = 120.000000
Spostamento - mm  = -130.000000
Ingrandimento     = 1.050000
Braccio destro    = 1
KV a regime %     = 84
Crea Rampa STF    = 1

Tipo Curva        = 6
[PARAMETRI CURVA CEFALOMETRICA]

Versione          = 5
Nome Traiettoria  = ceph cinque
Tempo Scansione s = 6.000000
Distanza SID mm   = 1500.000000
Spostamento + mm  = 120.000000
Spostamento - mm  = -130.000000
Ingrandimento     = 1.050000
Braccio destro    = 1
KV a regime %     = 85
Crea Rampa STF    = 0
Is Scout          = 1

