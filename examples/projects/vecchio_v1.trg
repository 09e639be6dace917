[GENERALE]

Versione          = 1
Tipo Curva        = 3
[PARAMETRI CURVA CIRCOLARE]

Versione          = 1
Ampiezza arco deg = 200.000000
Pos Iniz arco deg = -100.000000
R Cerchio XY mm   = 0.000000
Tempo Scansione s = 10.000000
X Centro rotaz mm = 0.000000
Y Centro rotaz mm = 0.000000
KV a regime %     = 100

[END]