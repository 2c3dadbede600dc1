; Shows a bitmap-only picture: the hires (MULTICOLOR=0) or multicolor (MULTICOLOR=1)
; display routine of a PRG that loads at $1E00 and is started with SYS 7680.
;
; Memory, as the exporter lays it out:
;   $1e00  this routine (at most 512 bytes)
;   $2000  bitmap, 8000 bytes: shown in place from VIC bank 0
;   $3f40  screen RAM, 1000 bytes: copied to $0400
;   $4328  hires: the border colour; multicolor: colour RAM, 1000 bytes
;   $4710  multicolor: the background colour
; The multicolor border colour is a parameter of the routine (param_border): the
; editor frames a multicolor bitmap in its own Border colour, not the background.
;
; No interrupts and no raster timing: once the registers are set, the VIC shows the
; picture on its own and the processor spins in a loop.

!cpu 6502
!src "c64.inc"

bitmap_data   = $2000
screen_data   = $3f40
color_data    = $4328
back_data     = $4710

* = $1e00
addr_load:
        +start_quietly nmi_return
        +fade_to_black darker
        +blank_and_bank_out
        +select_vic_bank 0
        +copy_1000 screen_data, $0400
!if MULTICOLOR {
        +copy_1000 color_data, color_ram
        lda param_border
        sta vic_border
        lda back_data
        sta vic_background
} else {
        lda color_data          ; hires colours live in screen RAM; only the border
        sta vic_border          ; needs a register
}
        lda #$3b                ; bitmap mode, display on, 25 rows, Y scroll 3
        sta vic_control1
        lda #$18                ; screen at $0400, bitmap at $2000
        sta vic_memory
!if MULTICOLOR {
        lda #$d8                ; multicolor, 40 columns
} else {
        lda #$c8                ; 40 columns
}
        sta vic_control2
addr_final_loop:
        jmp addr_final_loop

        +return_and_darker_table

!if MULTICOLOR {
; Filled in by the encoder.
param_border:   !byte 0
}

addr_end:
!if addr_end > bitmap_data { !error "the bitmap-only routine does not fit below $2000" }
