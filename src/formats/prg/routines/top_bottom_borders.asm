!cpu 6502
!src "c64.inc"
* = $3400
addr_load:
        jmp addr_load
param_background: !byte 0
param_border: !byte 0
param_bottom_x0: !byte 0
param_bottom_gaps: !fill 7, 0
param_bottom_msb: !byte 0
param_bottom_own: !byte 0
param_bottom_mc0: !byte 0
param_bottom_mc1: !byte 0
param_bottom_colors: !fill 8, 0
param_top_x0: !byte 0
param_top_gaps: !fill 7, 0
param_top_msb: !byte 0
param_top_own: !byte 0
param_top_mc0: !byte 0
param_top_mc1: !byte 0
param_top_colors: !fill 8, 0
