#pragma once

#include "support/mos6502.h"

#include <QByteArray>

#include <array>
#include <vector>

// Just enough of a C64 to run a display routine and watch what it does to the VIC-II.
//
// Modelled: 64 KB of RAM with the processor port at $00/$01 banking the I/O area in and
// out (the ROM areas read as the RAM below them, since no ROM is loaded; routines that
// need none work the same); the VIC-II's registers with its raster counter (63 cycles
// by 312 lines on PAL, 65 by 263 on NTSC), the raster interrupt, badlines and the sprite
// fetches that stop the processor (BA), sprite DMA turning on at the Y compare in cycle
// 55 and running 21 lines, and the border flip-flops' compares; colour RAM whose upper
// nibble reads as noise; two CIAs with timer A and their interrupt registers (CIA 1 on
// IRQ, CIA 2 on NMI).
//
// Not modelled, so not checked: real pixel output, collisions, sprite X/Y expansion,
// the light pen, SID, CIA timer B, TOD and ports, the 2-cycle start delay of a CIA timer,
// the VIC's DMA delay and FLI tricks, and the exact sub-cycle point where a register
// write takes effect. Cycle positions follow the VIC-II article's PAL timing diagram;
// for NTSC the line is two cycles longer at its end and the rest is the same. Agreement
// with this model is not proof that a routine runs on a real C64.
class C64Model : public Mos6502Bus {
public:
    enum class Video { Pal, Ntsc };

    struct VicWrite {
        quint64 cycle;
        int frame;
        int line;
        int lineCycle; // 1-63 (PAL) or 1-65 (NTSC)
        int reg; // 0x00-0x2E
        uchar value;
    };

    // One line of one hardware sprite as the VIC showed it: the pointer it fetched, and
    // X, colour and multicolor flag as they were when the sprite's pixels came out.
    struct SpriteLine {
        int frame;
        int line;
        int sprite;
        int firstLine; // the first line of the 21 this DMA run shows
        uchar pointer;
        int x;
        uchar color;
        bool multicolor;
        uchar screenBank; // $d018's screen bits when the pointer was fetched
    };

    struct Interrupt {
        quint64 cycle;
        int frame;
        int line;
        bool nmi;
        quint16 handler;
    };

    explicit C64Model(Video video);

    // The state BASIC leaves: text screen at $0400, light blue on blue, ROMs in.
    void resetToBasic();
    // Copies a PRG's bytes to its load address; false when it does not fit.
    bool loadPrg(const QByteArray& prg);
    void setPc(quint16 pc) { m_cpu.registers().pc = pc; }
    // Lets cycles pass with the processor halted, to start a program at another phase.
    void idle(int cycles)
    {
        for (int i = 0; i < cycles; ++i)
            advance();
    }

    // Runs until the program counter reaches `pc` at an instruction boundary, or
    // `maxCycles` have passed; false when it stopped for any other reason.
    bool runUntilPc(quint16 pc, quint64 maxCycles);
    // Runs until the given frame number begins; false on an undocumented opcode.
    bool runUntilFrame(int frame);

    quint64 cycle() const { return m_cycle; }
    int frame() const { return m_frame; }
    int line() const;
    int cyclesPerLine() const { return m_video == Video::Pal ? 63 : 65; }
    int linesPerFrame() const { return m_video == Video::Pal ? 312 : 263; }

    uchar ram(quint16 address) const { return m_ram[address]; }
    uchar colorRam(int index) const { return m_colorRam[index & 0x3FF]; }
    uchar vicRegister(int reg) const { return m_vic[reg]; }

    const std::vector<VicWrite>& vicWrites() const { return m_vicWrites; }
    const std::vector<SpriteLine>& spriteLines() const { return m_spriteLines; }
    const std::vector<Interrupt>& interrupts() const { return m_interrupts; }
    // Per frame and line: whether the side border stayed open (the main border
    // flip-flop was not set at the right edge) and whether the vertical border was off.
    bool sideBorderOpen(int frame, int line) const;
    bool verticalBorderOpen(int frame, int line) const;

    // Mos6502Bus
    uchar read(quint16 address) override;
    void write(quint16 address, uchar value) override;
    uchar peek(quint16 address) const override;
    bool irqLine() const override;
    bool takeNmiEdge() override;

private:
    struct Cia {
        quint16 latch = 0xFFFF;
        quint16 counter = 0xFFFF;
        uchar control = 0;
        uchar mask = 0;
        uchar flags = 0;
        uchar port = 0;
        uchar ddr = 0;
        bool asserted() const { return (flags & mask & 0x1F) != 0; }
    };

    struct SpriteDma {
        bool on = false;
        int firstLine = 0; // display lines firstLine .. firstLine + 20, counted without wrap
        int endingFirstLine = 0; // the run that is showing its last line while the next one starts
        uchar pointer = 0;
    };

    bool ioVisible() const;
    void advance();
    bool baLow() const;
    bool spriteFetchWindow(int sprite, qint64 frameCycle) const;
    int lineCycle() const;
    qint64 frameCycle() const { return qint64(m_cycle % quint64(cyclesPerLine() * linesPerFrame())); }
    int spriteFetchCycle(int sprite) const;
    int spriteDisplayCycle(int x) const;
    int spriteX(int sprite) const;
    uchar readIo(quint16 address);
    void writeIo(quint16 address, uchar value);
    void tickCia(Cia& cia);

    Video m_video;
    Mos6502 m_cpu;
    std::array<uchar, 65536> m_ram {};
    std::array<uchar, 1024> m_colorRam {};
    std::array<uchar, 0x40> m_vic {};
    Cia m_cia1;
    Cia m_cia2;
    bool m_nmiLine = false;
    bool m_nmiEdge = false;
    quint64 m_cycle = 0;
    int m_frame = 0;
    int m_rasterCompare = 0;
    uchar m_irqFlags = 0;
    bool m_denAtLine30 = false;
    std::array<SpriteDma, 8> m_sprites {};
    bool m_mainBorderSetThisLine = false;
    bool m_verticalBorder = true;
    std::vector<std::vector<bool>> m_sideOpen; // [frame][line]
    std::vector<std::vector<bool>> m_verticalOpen; // [frame][line]
    std::vector<VicWrite> m_vicWrites;
    std::vector<SpriteLine> m_spriteLines;
    std::vector<Interrupt> m_interrupts;
};
