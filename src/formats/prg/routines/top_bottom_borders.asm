; Shows a top/bottom-border picture: a bitmap with a 42-line strip of sprites in the
; opened upper and lower borders. Hires (MULTICOLOR=0) or multicolor (MULTICOLOR=1);
; the PRG loads at $3400 and is started with SYS 13312.
;
; Memory, as the exporter lays it out (VIC bank 1 is $4000-$7fff):
;   $3400  this routine and its parameters (at most 3072 bytes)
;   $4000  bitmap, 8000 bytes, shown in place
;   $5f40  screen RAM, 1000 bytes: copied to both screens, $7400 and $7800
;   $6328  multicolor: colour RAM, 1000 bytes (hires: the border colour)
;   $6710  multicolor: the background colour
;   $6800  sprite records: 0-15 the bottom border (upper row, then lower row), 16-31 the
;          top border; pointer $a0 + n
;
; The upper and lower borders open with the classic trick: the VIC closes the display
; at line 251 ($fb) with 25 rows, at 247 ($f7) with 24. Switching to 24 rows on line
; 249, after the one compare and before the other, means the border flip-flop is never
; set, and stays off through the lower border, the vertical blank and the upper border
; until 25 rows are back. Outside the display window the VIC shows its idle pattern,
; the byte at $7fff, which we clear: in multicolor bitmap mode its 00 pairs show $d021,
; so $d021 carries each border's own colour there. A hires bitmap's idle pixels would
; be black whatever $d021 holds, so the hires routine switches to multicolor ($d8) for
; the borders and back to hires ($c8) before the bitmap.
;
; All eight hardware sprites show one border at a time, in two 21-line rows, each
; column's two records sharing one colour register. Each row's pointers are in their
; own screen ($7400 upper, $7800 lower) so one $d018 write moves all eight to the next
; row between two lines' sprite fetches.
;
; PAL (312 lines):  bottom rows Y $fa (lines 251-271) and $0f (272-292, after the
;                   counter passed 255); top rows Y $08 (9-29) and $1d (30-50).
; NTSC (263 lines): the frame ends at line 262, so the bottom's first row runs on into
;                   lines 0-8 and there is no room for its second. The top set can only
;                   be loaded after that, so the top's first row is left out and its
;                   second row shows at Y $1d as on PAL. NTSC sets show lines 41-262
;                   and 0-12 anyway, so little of the top strip is visible there.

!cpu 6502
!src "c64.inc"

screen_data   = $5f40
color_data    = $6328
screen_upper  = $7400           ; $d018 = $d0
screen_lower  = $7800           ; $d018 = $e0
pointers_upper = screen_upper + $3f8
pointers_lower = screen_lower + $3f8
idle_byte     = $7fff
bottom_pointer = $a0
top_pointer   = $b0
bottom_irq_line = $f8
top_irq_line  = $16           ; after the NTSC top set has loaded (lines 9-16)

!if MULTICOLOR {
SPRITE_MC = $ff
} else {
SPRITE_MC = $00
}

* = $3400
addr_load:
        +start_quietly nmi_return
        +fade_to_black darker
        +blank_and_bank_out
        +detect_video_standard
        +select_vic_bank 1
        +copy_1000 screen_data, screen_upper
        +copy_1000 screen_data, screen_lower
!if MULTICOLOR {
        +copy_1000 color_data, color_ram
}
        lda #0
        sta idle_byte
        sta vic_sprite_dx
        sta vic_sprite_dy
        sta vic_sprite_prio     ; sprites in front of the bitmap
        lda #SPRITE_MC
        sta vic_sprite_mc
        lda param_border
        sta vic_border
        lda param_background
        sta vic_background
        jsr load_bottom_set
        lda #$ff
        sta vic_sprite_on

        +run_from_raster_irq irq_bottom, bottom_irq_line, $c8 + MULTICOLOR * $10

; One border's sprite set: X of the 8 sprites from the first one and the gaps, their
; X bit 8, the border's multicolours, the colours (the upper row's records; the lower
; row shares them) and the pointers, the upper row's in $7400's pointer bytes and the
; lower row's in $7800's.
!macro load_set .x0, .gaps, .msb, .mc0, .mc1, .colors, .first_pointer {
        lda .x0
        sta vic_sprite_x
        !for k, 1, 7 {
                clc
                adc .gaps + k - 1
                sta vic_sprite_x + 2 * k
        }
        lda .msb
        sta vic_sprite_msb
        lda .mc0
        sta vic_sprite_mc0
        lda .mc1
        sta vic_sprite_mc1
        ldx #7
-       lda .colors,x
        sta vic_sprite_color,x
        txa
        clc
        adc #.first_pointer
        sta pointers_upper,x
        adc #8
        sta pointers_lower,x
        dex
        bpl -
}

!macro set_all_y .y {
        lda #.y
        !for k, 0, 7 {
                sta vic_sprite_x + 2 * k + 1
        }
}

; Waits until the raster is on the given line (bit 8 included).
!macro wait_line .line {
-       lda vic_control1
        !if .line > 255 {
                bpl -
        } else {
                bmi -
        }
        lda vic_raster
        cmp #<.line
        bne -
}

;  PAL: 3 cycles; NTSC: 7, for the longer line before the timed store below.
!macro ntsc_four_more {
        bit zp_pal
        bmi +
        nop
        bit zp_count
+
}

load_bottom_set:
        +load_set param_bottom_x0, param_bottom_gaps, param_bottom_msb, param_bottom_mc0, param_bottom_mc1, param_bottom_colors, bottom_pointer
        +set_all_y $fa          ; the row starts on line 251, the first below the bitmap
        lda #$d0
        sta vic_memory
        rts

; Line $f8 (248), after the bitmap's last badline. A second interrupt on the next line
; brings the start to within a cycle (an interrupt that hits a 2-cycle NOP waits at most
; one), which the store at the end of line $fa needs.
irq_bottom:
        sta zp_save_a
        stx zp_save_x
        sty zp_save_y
        lda #<irq_bottom_stable
        sta hw_irq_vec
        lda #>irq_bottom_stable
        sta hw_irq_vec + 1
        lda #bottom_irq_line + 1
        sta vic_raster
        lda #$ff
        sta vic_irq_flags
        tsx
        cli
        !fill 10, $ea

irq_bottom_stable:              ; line $f9, cycle 8 or 9
        txs
        lda #$33                ; 24 rows: the bottom compare (line 247) has passed,
        sta vic_control1        ; and the 25-row one (251) will now not match
        ; The store below must write after the bitmap's last pixel (cycle 56 of line
        ; $fa) and before the border area's first (X $18, cycle 17 of $fb). It starts in
        ; cycle 53-54 (PAL) or 55-56 (NTSC) of $fa, so its last read falls on the bottom row's
        ; sprite fetches, which begin there (BA low from cycle 55 on PAL, 57 on NTSC).
        ; The fetches halt it until cycle 11 of $fb, and it writes in cycle 12 or 13.
!if MULTICOLOR {
        lda param_bottom_own
        +ntsc_four_more
        ldx zp_count
        !fill 43, $ea
        sta vic_background
} else {
        lda param_bottom_own    ; the hires bitmap ignores $d021
        sta vic_background
        lda #$d8
        +ntsc_four_more
        ldx zp_count
        !fill 40, $ea
        sta vic_control2        ; multicolor idle pixels from line $fb on (see above)
}
        bit zp_pal
        bpl ntsc_bottom
        +set_all_y $0f          ; the second row: 21 lines on, past line 255
        +wait_line $100
        lda #$3b                ; 25 rows again
        sta vic_control1
        +wait_line $10f         ; the first row's last line: after its fetches (cycle 10),
        nop                     ; before the next row's (cycle 55), show the lower screen
        nop
        lda #$e0
        sta vic_memory
        +wait_line $125         ; the second row is done
        jmp load_top

ntsc_bottom:
        +wait_line $100
        lda #$3b
        sta vic_control1
-       lda vic_control1        ; the first row runs on until line 8 of the next frame
        bmi -
        lda vic_raster
        cmp #9
        bcc -

load_top:
        +load_set param_top_x0, param_top_gaps, param_top_msb, param_top_mc0, param_top_mc1, param_top_colors, top_pointer
        lda param_top_own
        sta vic_background
        bit zp_pal
        bpl +
        +set_all_y $08          ; the first row starts on line 9, the top strip's first
        lda #$d0
        sta vic_memory
        jmp ++
+       +set_all_y $1d          ; NTSC: the second row only
        lda #$e0
        sta vic_memory
++      lda #top_irq_line
        sta vic_raster
        lda #<irq_top
        sta hw_irq_vec
        lda #>irq_top
        sta hw_irq_vec + 1
        jmp return

; Line $16 (22): the top border's second row, then the bitmap's colours at line 50.
irq_top:
        sta zp_save_a
        stx zp_save_x
        sty zp_save_y
        bit zp_pal
        bpl +
        +set_all_y $1d
        +wait_line $1d          ; the first row's last line
        nop
        nop
        lda #$e0
        sta vic_memory
+       +wait_line $32          ; the top strip's last line, 50: after its last pixel
        !fill 22, $ea           ; (cycle 56), before the bitmap's first (line 51)
!if MULTICOLOR {
        lda param_background
        sta vic_background
} else {
        lda #$c8
        sta vic_control2
}
        jsr load_bottom_set
        lda #bottom_irq_line
        sta vic_raster
        lda #<irq_bottom
        sta hw_irq_vec
        lda #>irq_bottom
        sta hw_irq_vec + 1

return:
        lda #$ff
        sta vic_irq_flags
        lda zp_save_a
        ldx zp_save_x
        ldy zp_save_y
        rti

        +return_and_darker_table

; Filled in by the encoder.
param_background:    !byte 0
param_border:        !byte 0
param_bottom_x0:     !byte 0    ; hardware X of the first sprite (origin + 24 (column + 1))
param_bottom_gaps:   !fill 7, 0 ; 24 x the column distance to the next sprite
param_bottom_msb:    !byte 0    ; sprites at X 256 or more
param_bottom_own:    !byte 0    ; the border's own colour, shown where sprites are clear
param_bottom_mc0:    !byte 0
param_bottom_mc1:    !byte 0
param_bottom_colors: !fill 8, 0 ; each column's colour
param_top_x0:        !byte 0
param_top_gaps:      !fill 7, 0
param_top_msb:       !byte 0
param_top_own:       !byte 0
param_top_mc0:       !byte 0
param_top_mc1:       !byte 0
param_top_colors:    !fill 8, 0

addr_end:
!if addr_end > $4000 { !error "the top/bottom-border routine does not fit below $4000" }
