Tipo Curva        = 5
[PARAMETRI CURVA CARICATA DA CSV]

Versione          = 3
Nome Traiettoria  = csv uno
Tipo curva vero   = 4
Braccio ceph dx   = 0
Ingrandimento     = 1.500000
Is Scout          = 0

Tipo Curva        = 5
[PARAMETRI CURVA CARICATA DA CSV]

Versione          = 3
Nome Traiettoria  = csv due
Tipo curva vero   = 6
Braccio ceph dx   = 1
Ingrandimento     = 2.000000
Is Scout          = 0

Tipo Curva        = 2
[PARAMETRI CURVA PANORAMICA]

Versione          = 8
Nome Traiettoria  = Panoramic trajectory
Ingrandimento     = 1.200000
Tempo Scansione s = 12.000000
Inv. scaricamento = 0
Dist punti tuning = 4.000000
Sensibilita Spline= 2.500000
Pos RProj cost Dx = 38
Pos RProj cost Sx = 39
Traiet. simmetrica= 1
Pos Dist Ang = 0  = 2
Tipo Ricostruzione= 2
Dist P tuning KV  = 220.000000
Sensib Spline KV  = 100.000000
Dist P tuning shif= 220.000000
Sensib Spline shif= 100.000000
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

2 Punti Tuning
20.000000,0.500000
240.000000,0.600000

2 Punti Tuning KV
20.000000,85.000000
240.000000,85.000000

2 Punti Tuning Shift
20.000000,1.000000
240.000000,1.000000
Tipo Curva        = 2
[PARAMETRI CURVA PANORAMICA]

Versione          = 8
Nome Traiettoria  = Panoramic trajectory
Ingrandimento     = 1.200000
Tempo Scansione s = 12.000000
Inv. scaricamento = 0
Dist punti tuning = 4.000000
Sensibilita Spline= 2.500000
Pos RProj cost Dx = 38
Pos RProj cost Sx = 39
Traiet. simmetrica= 1
Pos Dist Ang = 0  = 2
Tipo Ricostruzione= 2
Dist P tuning KV  = 12.000000
Sensib Spline KV  = 2.500000
Dist P tuning shif= 230.000000
Sensib Spline shif= 100.000000
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

2 Punti Tuning
15.000000,0.500000
245.000000,0.600000

1 Punti Tuning KV
15.000000,70.000000

2 Punti Tuning Shift
15.000000,1.000000
245.000000,1.000000
Tipo Curva        = 2
[PARAMETRI CURVA PANORAMICA]

Versione          = 8
Nome Traiettoria  = pan tre
Ingrandimento     = 1.200000
Tempo Scansione s = 12.000000
Inv. scaricamento = 0
Dist punti tuning = 4.000000
Sensibilita Spline= 2.500000
Pos RProj cost Dx = 38
Pos RProj cost Sx = 39
Traiet. simmetrica= 1
Pos Dist Ang = 0  = 2
Tipo Ricostruzione= 2
Dist P tuning KV  = 12.000000
Sensib Spline KV  = 2.750000
Dist P tuning shif= 230.000000
Sensib Spline shif= 100.000000
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

2 Punti Tuning
15.000000,0.500000
245.000000,0.600000

1 Punti Tuning KV
15.000000,70.000000

2 Punti Tuning Shift
15.000000,1.000000
245.000000,1.000000
Tipo Curva        = 2
[PARAMETRI CURVA PANORAMICA]

Versione          = 8
Nome Traiettoria  = pan quattro
Ingrandimento     = 1.200000
Tempo Scansione s = 12.000000
Inv. scaricamento = 0
Dist punti tuning = 4.000000
Sensibilita Spline= 2.500000
Pos RProj cost Dx = 38
Pos RProj cost Sx = 39
Traiet. simmetrica= 1
Pos Dist Ang = 0  = 2
Tipo Ricostruzione= 2
Dist P tuning KV  = 12.000000
Sensib Spline KV  = 2.500000
Dist P tuning shif= 230.000000
Sensib Spline shif= 100.000000
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

2 Punti Tuning
15.000000,0.500000
245.000000,0.600000

1 Punti Tuning KV
15.000000,70.000000

2 Punti Tuning Shift
15.000000,1.000000
245.000000,1.000000
Tipo Curva        = 2
[PARAMETRI CURVA PANORAMICA]

Versione          = 8
Nome Traiettoria  = pan cinque
Ingrandimento     = 1.200000
Tempo Scansione s = 12.000000
Inv. scaricamento = 0
Dist punti tuning = 4.000000
Sensibilita Spline= 2.500000
Pos RProj cost Dx = 38
Pos RProj cost Sx = 39
Traiet. simmetrica= 1
Pos Dist Ang = 0  = 2
Tipo Ricostruzione= 2
Dist P tuning KV  = 12.000000
Sensib Spline KV  = 2.500000
Dist P tuning shif= 230.000000
Sensib Spline shif= 100.000000
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

2 Punti Tuning
15.000000,0.500000
245.000000,0.600000

1 Punti Tuning KV
15.000000,70.000000

2 Punti Tuning Shift
15.000000,1.000000
245.000000,1.000000
Tipo Curva        = 2
[PARAMETRI CURVA PANORAMICA]

Versione          = 8
Nome Traiettoria  = pan sei
Ingrandimento     = 1.200000
Tempo Scansione s = 12.000000
Inv. scaricamento = 0
Dist punti tuning = 4.000000
Sensibilita Spline= 2.500000
Pos RProj cost Dx = 38
Pos RProj cost Sx = 39
Traiet. simmetrica= 1
Pos Dist Ang = 0  = 2
Tipo Ricostruzione= 2
Dist P tuning KV  = 12.000000
Sensib Spline KV  = 2.500000
Dist P tuning shif= 230.000000
Sensib Spline shif= 100.000000
Is Scout          = 1
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

2 Punti Tuning
15.000000,0.500000
245.000000,0.600000

1 Punti Tuning KV
15.000000,70.000000

2 Punti Tuning Shift
15.000000,1.000000
245.000000,1.000000
Tipo Curva        = 2
[PARAMETRI CURVA PANORAMICA]

Versione          = 8
Nome Traiettoria  = pan sette
Ingrandimento     = 1.200000
Tempo Scansione s = 12.000000
Inv. scaricamento = 0
Dist punti tuning = 4.000000
Sensibilita Spline= 2.500000
Pos RProj cost Dx = 38
Pos RProj cost Sx = 39
Traiet. simmetrica= 1
Pos Dist Ang = 0  = 2
Tipo Ricostruzione= 0
Dist P tuning KV  = 12.000000
Sensib Spline KV  = 2.500000
Dist P tuning shif= 240.000000
Sensib Spline shif= 100.000000
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

3 Punti Tuning
10.000000,0.500000
130.000000,0.550000
250.000000,0.600000

1 Punti Tuning KV
10.000000,70.000000

2 Punti Tuning Shift
10.000000,1.000000
250.000000,1.000000
Tipo Curva        = 3
[PARAMETRI CURVA CIRCOLARE]

Versione          = 6
Nome Traiettoria  = prima
Ampiezza arco deg = 200.000000
Pos Iniz arco deg = -190.000000
R Cerchio XY mm   = 40.000000
Tempo Scansione s = 9.000000
X Centro rotaz mm = 1.000000
Y Centro rotaz mm = 2.000000
KV a regime %     = 70
mA frontali %     = 100
mA laterali %     = 100
Is Scout          = 0

Tipo Curva        = 3
[PARAMETRI CURVA CIRCOLARE]

Versione          = 6
Nome Traiettoria  = circ due
Ampiezza arco deg = 200.000000
Pos Iniz arco deg = -190.000000
R Cerchio XY mm   = 40.000000
Tempo Scansione s = 9.000000
X Centro rotaz mm = 1.000000
Y Centro rotaz mm = 2.000000
KV a regime %     = 71
mA frontali %     = 100
mA laterali %     = 100
Is Scout          = 0

Tipo Curva        = 3
[PARAMETRI CURVA CIRCOLARE]

Versione          = 6
Nome Traiettoria  = circ tre
Ampiezza arco deg = 200.000000
Pos Iniz arco deg = -190.000000
R Cerchio XY mm   = 40.000000
Tempo Scansione s = 9.000000
X Centro rotaz mm = 1.000000
Y Centro rotaz mm = 2.000000
KV a regime %     = 72
mA frontali %     = 100
mA laterali %     = 100
Is Scout          = 0

Tipo Curva        = 3
[PARAMETRI CURVA CIRCOLARE]

Versione          = 6
Nome Traiettoria  = circ quattro
Ampiezza arco deg = 200.000000
Pos Iniz arco deg = -190.000000
R Cerchio XY mm   = 40.000000
Tempo Scansione s = 9.000000
X Centro rotaz mm = 1.000000
Y Centro rotaz mm = 2.000000
KV a regime %     = 73
mA frontali %     = 80
mA laterali %     = 81
Is Scout          = 0

Tipo Curva        = 3
[PARAMETRI CURVA CIRCOLARE]

Versione          = 6
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
Is Scout          = 0

Tipo Curva        = 4
[PARAMETRI CURVA LINEARE]

Versione          = 7
Nome Traiettoria  = lin uno
Lunghezza retta mm= 40.000000
X centro retta mm = 44.000000
Y centro retta mm = -31.000000
Tempo Scansione s = 4.000000
Incl retta deg    = 12.000000
R proiezione mm   = 55.000000
Ingrandimento     = 1.300000
Disortogonalit deg= 0.000000
Inv. sensore      = 1
Inv. rotazione    = 1
Inv. scaricamento = 0
KV a regime %     = 91
Is Scout          = 0
Is 2 Assi         = 0

Tipo Curva        = 4
[PARAMETRI CURVA LINEARE]

Versione          = 7
Nome Traiettoria  = lin due
Lunghezza retta mm= 40.000000
X centro retta mm = 44.000000
Y centro retta mm = -32.000000
Tempo Scansione s = 4.000000
Incl retta deg    = 12.000000
R proiezione mm   = 55.000000
Ingrandimento     = 1.300000
Disortogonalit deg= 0.000000
Inv. sensore      = 0
Inv. rotazione    = 1
Inv. scaricamento = 0
KV a regime %     = 92
Is Scout          = 0
Is 2 Assi         = 0

Tipo Curva        = 4
[PARAMETRI CURVA LINEARE]

Versione          = 7
Nome Traiettoria  = lin tre
Lunghezza retta mm= 40.000000
X centro retta mm = 44.000000
Y centro retta mm = -33.000000
Tempo Scansione s = 4.000000
Incl retta deg    = 12.000000
R proiezione mm   = 55.000000
Ingrandimento     = 1.300000
Disortogonalit deg= 1.500000
Inv. sensore      = 1
Inv. rotazione    = 1
Inv. scaricamento = 0
KV a regime %     = 93
Is Scout          = 0
Is 2 Assi         = 0

Tipo Curva        = 4
[PARAMETRI CURVA LINEARE]

Versione          = 7
Nome Traiettoria  = lin quattro
Lunghezza retta mm= 40.000000
X centro retta mm = 44.000000
Y centro retta mm = -34.000000
Tempo Scansione s = 4.000000
Incl retta deg    = 12.000000
R proiezione mm   = 55.000000
Ingrandimento     = 1.300000
Disortogonalit deg= 1.750000
Inv. sensore      = 1
Inv. rotazione    = 1
Inv. scaricamento = 0
KV a regime %     = 94
Is Scout          = 0
Is 2 Assi         = 0

Tipo Curva        = 4
[PARAMETRI CURVA LINEARE]

Versione          = 7
Nome Traiettoria  = lin cinque
Lunghezza retta mm= 40.000000
X centro retta mm = 44.000000
Y centro retta mm = -35.000000
Tempo Scansione s = 4.000000
Incl retta deg    = 12.000000
R proiezione mm   = 55.000000
Ingrandimento     = 1.300000
Disortogonalit deg= 1.500000
Inv. sensore      = 1
Inv. rotazione    = 1
Inv. scaricamento = 0
KV a regime %     = 95
Is Scout          = 1
Is 2 Assi         = 0

Tipo Curva        = 4
[PARAMETRI CURVA LINEARE]

Versione          = 7
Nome Traiettoria  = lin sei
Lunghezza retta mm= 40.000000
X centro retta mm = 44.000000
Y centro retta mm = -36.000000
Tempo Scansione s = 4.000000
Incl retta deg    = 12.000000
R proiezione mm   = 55.000000
Ingrandimento     = 1.300000
Disortogonalit deg= 1.500000
Inv. sensore      = 0
Inv. rotazione    = 1
Inv. scaricamento = 1
KV a regime %     = 96
Is Scout          = 0
Is 2 Assi         = 1

Tipo Curva        = 6
[PARAMETRI CURVA CEFALOMETRICA]

Versione          = 6
Nome Traiettoria  = ceph uno
Tempo Scansione s = 6.000000
Distanza SID mm   = 1500.000000
Spostamento + mm  = 120.000000
Spostamento - mm  = -130.000000
Ingrandimento     = 1.110000
Braccio destro    = 0
KV a regime %     = 81
Crea Rampa STF    = 0
Is Scout          = 0
Is Ingr. Costante = 1
Is 2 Assi         = 0

Tipo Curva        = 6
[PARAMETRI CURVA CEFALOMETRICA]

Versione          = 6
Nome Traiettoria  = ceph due
Tempo Scansione s = 6.000000
Distanza SID mm   = 1500.000000
Spostamento + mm  = 120.000000
Spostamento - mm  = -130.000000
Ingrandimento     = 1.050000
Braccio destro    = 1
KV a regime %     = 82
Crea Rampa STF    = 0
Is Scout          = 0
Is Ingr. Costante = 1
Is 2 Assi         = 0

Tipo Curva        = 6
[PARAMETRI CURVA CEFALOMETRICA]

Versione          = 6
Nome Traiettoria  = ceph tre
Tempo Scansione s = 6.000000
Distanza SID mm   = 1500.000000
Spostamento + mm  = 120.000000
Spostamento - mm  = -130.000000
Ingrandimento     = 1.050000
Braccio destro    = 1
KV a regime %     = 83
Crea Rampa STF    = 1
Is Scout          = 0
Is Ingr. Costante = 1
Is 2 Assi         = 0

Tipo Curva        = 6
[PARAMETRI CURVA CEFALOMETRICA]

Versione          = 6
Nome Traiettoria  = ceph quattro
Tempo Scansione s = 6.000000
Distanza SID mm   = 1500.000000
Spostamento + mm  = 120.000000
Spostamento - mm  = -130.000000
Ingrandimento     = 1.050000
Braccio destro    = 1
KV a regime %     = 84
Crea Rampa STF    = 1
Is Scout          = 0
Is Ingr. Costante = 1
Is 2 Assi         = 0

Tipo Curva        = 6
[PARAMETRI CURVA CEFALOMETRICA]

Versione          = 6
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
Is Ingr. Costante = 1
Is 2 Assi         = 0

