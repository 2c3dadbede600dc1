!cpu 6502
!src "c64.inc"
* = $3400
addr_load:
        jmp addr_load
param_background: !byte 0
param_border: !byte 0
param_mc0: !byte 0
param_mc1: !byte 0
param_colors: !fill 40, 0
