mpinit=4
@@2 0.5 - 0.123456 1 0
mpout 100
mpout 0
mpout 20000
mpout1
mpout2 10000
mpecho ½áÊø
