#pragma once

#include <QtGlobal>

// The memory and interrupt lines a 6502 sees. Every call is one bus cycle: the bus
// advances its clock by one per access, and a read may first wait while the video chip
// holds the bus (RDY low); writes never wait, as on the 6510, which finishes up to three
// writes after the VIC asks for the bus.
class Mos6502Bus {
public:
    virtual ~Mos6502Bus() = default;
    virtual uchar read(quint16 address) = 0;
    virtual void write(quint16 address, uchar value) = 0;
    // What a read would return, without a bus cycle or side effects.
    virtual uchar peek(quint16 address) const = 0;
    // The level of the IRQ line now (true = asserted).
    virtual bool irqLine() const = 0;
    // True once per falling edge of the NMI line.
    virtual bool takeNmiEdge() = 0;
};

// A table-driven NMOS 6502 with the documented opcodes, cycle by cycle on its bus: every
// dummy read and write the real processor makes is made, so a bus that counts cycles
// and stalls reads sees the same timing as a C64 would. Undocumented opcodes stop it.
// Not modelled: the decimal-mode flag quirks of the NMOS chip, and the one-instruction
// delay of an IRQ that arrives during a taken branch without a page crossing.
class Mos6502 {
public:
    enum Flag : uchar { C = 1, Z = 2, I = 4, D = 8, B = 16, U = 32, V = 64, N = 128 };

    struct Registers {
        quint16 pc = 0;
        uchar a = 0;
        uchar x = 0;
        uchar y = 0;
        uchar s = 0xFF;
        uchar p = U | I;
    };

    explicit Mos6502(Mos6502Bus& bus)
        : m_bus(bus)
    {
    }

    Registers& registers() { return m_regs; }
    const Registers& registers() const { return m_regs; }

    // Runs one instruction, or takes a pending interrupt. False when the opcode at the
    // program counter is not a documented one (the program counter then stays there).
    bool step();

private:
    uchar read(quint16 address);
    void write(quint16 address, uchar value);
    uchar fetch() { return read(m_regs.pc++); }
    void push(uchar value) { write(quint16(0x100 | m_regs.s--), value); }
    uchar pull() { return read(quint16(0x100 | ++m_regs.s)); }
    void setNz(uchar value);
    void interrupt(quint16 vector, bool brk);
    uchar modify(int op, uchar value);
    void compute(int op, uchar value);

    Mos6502Bus& m_bus;
    Registers m_regs;
    // The IRQ line as it was one cycle before the end of the instruction: the 6502
    // polls interrupts during an instruction's last cycle but one.
    bool m_irqBefore = false;
    bool m_irqNow = false;
    // The I flag that poll saw: CLI, SEI and PLP change it only after polling.
    bool m_polledI = true;
};
