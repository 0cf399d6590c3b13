mpinit=1 2
@@1 0.5
@@4 1 0.5 1 1
mpout 30100
