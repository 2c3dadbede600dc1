; Shows a side-border picture: a bitmap with two strips of sprites, two sprites wide,
; in the opened left and right borders. Hires (MULTICOLOR=0) or multicolor
; (MULTICOLOR=1); the PRG loads at $3400 and is started with SYS 13312.
;
; Memory, as the exporter lays it out (VIC bank 1 is $4000-$7fff):
;   $3400  this routine and its parameters (at most 3072 bytes)
;   $4000  bitmap, 8000 bytes, shown in place
;   $5f40  screen RAM, 1000 bytes: copied to both screens, $7400 and $7800
;   $6328  multicolor: colour RAM, 1000 bytes (hires: the border colour)
;   $6710  multicolor: the background colour
;   $6800  40 sprite records, pointers $a0-$c7: 10 rows of 4 (left strip, right strip)
;
; Hardware sprites 4-7 show the strips: 4 and 5 at X $1e0 (PAL; $1e8 on NTSC, whose
; longer line starts at X $19c) and $000 cover the 48 pixels left of the display window,
; 6 and 7 at X $150/$168 (hires) or $158/$170 (multicolor) the right border. Every 21
; lines the four sprites move down to the next row: row r has Y $2a + 21r, so its first
; line is raster $2b + 21r (a sprite shows from the line after its Y). Ten rows cover
; raster lines $2b-$fc, canvas lines -8 to 201.
;
; The side borders open on every one of those lines by a trick of the VIC's border
; unit: the right border starts where X reaches $14f in 38-column mode or $158 in 40.
; Switching to 38 columns in cycle 56, between the two compares, makes the VIC miss
; both, and the border stays off until the next line. 40 columns come back at once.
;
; That write must land in cycle 56 of every line, so the whole screen runs from one
; raster interrupt as timed code. Two things stop the processor on these lines:
;   - the four sprites' data fetches (cycles 3-10; BA, which halts the 6510 on its next
;     read, goes low three cycles before, in the last cycle of the previous line);
;   - badlines (raster & 7 = 3 from $30 to $f7), where the VIC reads the screen in
;     cycles 15-54 and BA is low from cycle 12.
; The sprite fetches are our clock: a read blocked at the end of a line always resumes
; in cycle 11, whatever happened before, so every line starts in step. On PAL the line
; has 63 cycles, on NTSC 65; the extra two come after the right border, so the code
; around that point differs (see line_tail and line_before_badline).
;
; On a badline only cycle 11 and cycles 55-62 are free. The 38-column write there is a
; STA abs,Y begun on the line before: opcode and low byte before the fetches, high byte
; in cycle 11, the dummy read of the indexed address in cycle 55, the write in 56.
; For the same reason nothing else can happen on a badline, which is why the sprites of
; hardware rows 4-5 and 7-8 share their colours: their joins ($93/$94 and $d2/$d3) each
; touch a badline, where there is no time to change a colour register.

!cpu 6502
!src "c64.inc"

!if MULTICOLOR {
OPEN  = $d7                     ; $d016: multicolor, 38 columns (X scroll 7)
CLOSE = $d8                     ; multicolor, 40 columns
} else {
OPEN  = $c7
CLOSE = $c8
}

screen_data   = $5f40
color_data    = $6328
screen_even   = $7400           ; shown by $d018 = $d0 during even sprite rows
screen_odd    = $7800           ; shown by $d018 = $e0 during odd sprite rows
pointers_even = screen_even + $3fc  ; the pointer bytes of sprites 4-7
pointers_odd  = screen_odd + $3fc
first_pointer = $a0             ; $6800 = $4000 + $a0 * 64
first_y       = $2a
first_line    = $2b
last_line     = $fc
irq_line      = $27

STA_ABS  = $8c                  ; STY abs: the PAL restore, 4 cycles
INC_ABS  = $ee                  ; INC abs: the NTSC restore, 6 cycles ($c7 -> $c8)

* = $3400
addr_load:
        +start_quietly nmi_return
        +fade_to_black darker
        +blank_and_bank_out
        +detect_video_standard
        +select_vic_bank 1
        +copy_1000 screen_data, screen_even
        +copy_1000 screen_data, screen_odd
!if MULTICOLOR {
        +copy_1000 color_data, color_ram
}
        lda param_border
        sta vic_border
        lda param_background
        sta vic_background

        ; NTSC: two more cycles per line after the border writes (see line_before_badline)
        ; and the left sprites 8 pixels further right, where the longer line puts X 0 - 24.
        ldx #$e0
        bit zp_pal
        bmi +
        lda #INC_ABS
        sta restore_before_badline
        sta restore_before_d018
        ldx #$e8
+       stx vic_sprite_x + 8
        lda #$00
        sta vic_sprite_x + 10
!if MULTICOLOR {
        lda #$58
        sta vic_sprite_x + 12
        lda #$70
        sta vic_sprite_x + 14
        lda #$f0
} else {
        lda #$50
        sta vic_sprite_x + 12
        lda #$68
        sta vic_sprite_x + 14
        lda #$00
}
        sta vic_sprite_mc
        lda #$d0                ; X bit 8 for sprites 4, 6 and 7
        sta vic_sprite_msb
        lda #0
        sta vic_sprite_dx
        sta vic_sprite_dy
        sta vic_sprite_prio
        lda param_mc0
        sta vic_sprite_mc0
        lda param_mc1
        sta vic_sprite_mc1
        jsr first_row
        lda #$f0
        sta vic_sprite_on

        +run_from_raster_irq irq_top, irq_line, CLOSE

; Row 0 for the coming frame: Y, pointers in the even screen, colours, even screen.
first_row:
        lda #first_y
        sta vic_sprite_x + 9
        sta vic_sprite_x + 11
        sta vic_sprite_x + 13
        sta vic_sprite_x + 15
        ldx #first_pointer
        stx pointers_even
        inx
        stx pointers_even + 1
        inx
        stx pointers_even + 2
        inx
        stx pointers_even + 3
        ldx #0
-       lda param_colors,x
        sta vic_sprite_color + 4,x
        inx
        cpx #4
        bne -
        lda #$d0
        sta vic_memory
        rts

; Raster line $27. The interrupt arrives 0-2 cycles late (the main loop's JMP is 3
; cycles), so it sets up a second one for line $28 and waits in NOPs: an interrupt
; that hits a 2-cycle instruction is at most 1 cycle late.
irq_top:
        sta zp_save_a
        stx zp_save_x
        sty zp_save_y
        bit zp_pal              ; V = 1 on PAL: every BVC below costs NTSC one cycle more
        lda #<irq_stable
        sta hw_irq_vec
        lda #>irq_stable
        sta hw_irq_vec + 1
        lda #irq_line + 1
        sta vic_raster
        lda #$ff
        sta vic_irq_flags
        tsx
        cli
        nop
        nop
        nop
        nop
        nop
        nop
        nop
        nop
        nop
        nop

; Line $28, entered in cycle 9 or 10. The CMP reads $d012 in the last cycle of line $28
; when we came in early, and gets $28: the BEQ is then taken and costs the cycle that
; makes up the difference. From the BEQ on, both cases run in step.
irq_stable:
        txs                     ; drop this interrupt's frame: RTI returns to the main loop
        ldx zp_stack            ; 43 cycles (NOPs: a loop's branch could cross a page)
        !fill 20, $ea
        bvc +                   ; +2 cycles on NTSC's longer line
+       bvc +
+       lda #irq_line + 1
        cmp vic_raster          ; PAL cycle 63 (NTSC 65) or the next line's cycle 1
        beq +
+       lda #OPEN               ; line $29, cycle 4
        ldy #CLOSE
        !fill 53, $ea           ; 106 cycles
        bvc +
+       bvc +
+       jsr line_tail           ; line $2a, cycle 55: the tail makes line $2b start in step

; The kernel: one call per raster line from $2b to $fc, in cycle 19 of its line. A line
; with work does it first (X only: A holds OPEN and Y CLOSE throughout) and enters the
; line code that many cycles later, skipping one NOP per 2 cycles of work.
!macro line_call .entry, .work_cycles {
        jsr .entry + .work_cycles / 2
}

; Sprite row r's Y (18 cycles), written while row r - 1 shows: the VIC compares Y in
; cycle 55 of every line and starts the next 21 lines when the row before has ended.
!macro set_row_y .r {
        ldx #first_y + 21 * .r
        stx vic_sprite_x + 9
        stx vic_sprite_x + 11
        stx vic_sprite_x + 13
        stx vic_sprite_x + 15
}

; Row r's pointers into the screen that row r - 1 does not show (24 cycles).
!macro set_row_pointers .r {
!if .r & 1 {
        .base = pointers_odd
} else {
        .base = pointers_even
}
        ldx #first_pointer + 4 * .r
        stx .base
        inx
        stx .base + 1
        inx
        stx .base + 2
        inx
        stx .base + 3
}

; On the last line of row r - 1, after its left sprites are out (cycle 14): show the
; other screen from the next line's fetches on, and row r's left colours (22 cycles).
!macro start_row_left .r {
!if .r & 1 {
        ldx #$e0
} else {
        ldx #$d0
}
        stx vic_memory
        ldx param_colors + 4 * .r
        stx vic_sprite_color + 4
        ldx param_colors + 4 * .r + 1
        stx vic_sprite_color + 5
}

; On row r's first line, before its right sprites come out (cycle 56; 16 cycles).
!macro start_row_right .r {
        ldx param_colors + 4 * .r + 2
        stx vic_sprite_color + 6
        ldx param_colors + 4 * .r + 3
        stx vic_sprite_color + 7
}

!for L, first_line, last_line {
        !set r = (L - first_line) DIV 21
        !set row_top = first_line + 21 * r
        !set bad_here = ((L >= $30) & (L <= $f7) & ((L & 7) = 3)) & 1
        !set bad_next = ((L + 1 >= $30) & (L + 1 <= $f7) & (((L + 1) & 7) = 3)) & 1
        ; where row r + 1's Y and pointers go: the first lines after row r's first that
        ; are not badlines
        !set y_line = row_top + 1 + (((row_top + 1 >= $30) & (row_top + 1 <= $f7) & (((row_top + 1) & 7) = 3)) & 1)
        !set p_line = y_line + 1 + (((y_line + 1 >= $30) & (y_line + 1 <= $f7) & (((y_line + 1) & 7) = 3)) & 1)
        !if bad_next {
                !set entry = line_before_badline
        } else {
                !set entry = line_plain
        }
        !if bad_here = 0 {
                !if L = $92 {
                        ; rows 4 and 5 meet on badline $93: the screen switch goes there
                        ldx #$e0
                        +line_call line_before_d018, 2
                } else if L = $94 {
                        +line_call line_plain, 4        ; entered 4 cycles late, see above
                } else if (L = row_top + 20) & (r = 7) {
                        ldx #$d0                        ; rows 7 and 8 share colours
                        stx vic_memory
                        +line_call entry, 6
                } else if (L = row_top + 20) & (r < 9) & (r + 1 <> 5) & (r + 1 <> 8) {
                        +start_row_left r + 1
                        +line_call entry, 22
                } else if (L = row_top) & (r > 0) & (r <> 5) & (r <> 8) {
                        +start_row_right r
                        +line_call entry, 16
                } else if (L = y_line) & (r < 9) {
                        +set_row_y r + 1
                        +line_call entry, 18
                } else if (L = p_line) & (r < 9) {
                        +set_row_pointers r + 1
                        +line_call entry, 24
                } else {
                        +line_call entry, 0
                }
        }
}

        ; Line $fd, the sprites are done: set up row 0 of the next frame and re-arm.
        jsr first_row
        lda #$3b
        sta vic_control1
        lda #irq_line
        sta vic_raster
        lda #<irq_top
        sta hw_irq_vec
        lda #>irq_top
        sta hw_irq_vec + 1
        lda #$ff
        sta vic_irq_flags
        lda zp_save_a
        ldx zp_save_x
        ldy zp_save_y
        rti

; A line without a badline after it. Called in cycle 19 (JSR 19-24), NOPs 25-52.
line_plain:
        !fill 14, $ea
        sta vic_control2        ; cycle 56: 38 columns between the two compares
        sty vic_control2        ; cycle 60: 40 columns again
line_tail:
        ; PAL: both BVCs fall through (2 cycles each) and the second one's opcode fetch in
        ; cycle 63 is blocked by the sprite fetches until cycle 11. NTSC: both are taken
        ; (3 cycles), the second one's operand read in cycle 65 is blocked, and its last
        ; cycle comes in 12. Either way the RTS runs in cycles 13-18.
        bvc +
+       bvc +
+       rts

; A line followed by a badline: this call covers both. Called in cycle 19.
line_before_badline:
        !fill 14, $ea
        sta vic_control2        ; cycle 56
restore_before_badline:
        sty vic_control2        ; PAL cycle 60; NTSC: INC $d016, $c8 in cycle 62
        ; Opcode and low byte in the last free cycles of this line (PAL 61-62, NTSC
        ; 63-64), high byte in cycle 11 of the badline, dummy read in 55, write in 56.
        sta vic_control2 - CLOSE,y
        sty vic_control2        ; badline, cycle 60
        bvc +
+       bvc +
+       rts

; Line $92 and badline $93, where sprite rows 4 and 5 meet: as line_before_badline,
; with the switch to the odd screen (X = $e0) in cycle 60 of the badline, between the
; last fetch of row 4 (cycle 10) and the first of row 5 (cycle 3 of $94). The 40-column
; write then waits for cycle 16 of $94, still before its first graphics fetch, and the
; next call comes 4 cycles late (line_call line_plain, 4).
line_before_d018:
        !fill 14, $ea
        sta vic_control2
restore_before_d018:
        sty vic_control2
        sta vic_control2 - CLOSE,y
        stx vic_memory          ; $93, cycle 60
        bvc +
+       bvc +
+       sty vic_control2        ; $94, cycle 16
        rts

        +return_and_darker_table

; Filled in by the encoder.
param_background: !byte 0
param_border:     !byte 0
param_mc0:        !byte 0
param_mc1:        !byte 0
param_colors:     !fill 40, 0   ; each record's colour; halves of a 42-line sprite agree

addr_end:
!if addr_end > $4000 { !error "the side-border routine does not fit below $4000" }
!if >line_plain <> >(line_plain + 13) { !error "line_plain's NOPs must not cross a page" }
