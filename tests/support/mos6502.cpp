#include "support/mos6502.h"

#include <array>

namespace {

enum class Op : uchar {
    None,
    ADC,
    AND,
    ASL,
    BCC,
    BCS,
    BEQ,
    BIT,
    BMI,
    BNE,
    BPL,
    BRK,
    BVC,
    BVS,
    CLC,
    CLD,
    CLI,
    CLV,
    CMP,
    CPX,
    CPY,
    DEC,
    DEX,
    DEY,
    EOR,
    INC,
    INX,
    INY,
    JMP,
    JSR,
    LDA,
    LDX,
    LDY,
    LSR,
    NOP,
    ORA,
    PHA,
    PHP,
    PLA,
    PLP,
    ROL,
    ROR,
    RTI,
    RTS,
    SBC,
    SEC,
    SED,
    SEI,
    STA,
    STX,
    STY,
    TAX,
    TAY,
    TSX,
    TXA,
    TXS,
    TYA,
};

enum class Mode : uchar { Imp, Acc, Imm, Zp, Zpx, Zpy, Abs, Abx, Aby, Izx, Izy, Rel, Ind };

struct Entry {
    Op op = Op::None;
    Mode mode = Mode::Imp;
};

struct Row {
    uchar opcode;
    Op op;
    Mode mode;
};

// The documented opcodes of the NMOS 6502.
constexpr Row rows[] = {
    {0x69, Op::ADC, Mode::Imm},
    {0x65, Op::ADC, Mode::Zp},
    {0x75, Op::ADC, Mode::Zpx},
    {0x6D, Op::ADC, Mode::Abs},
    {0x7D, Op::ADC, Mode::Abx},
    {0x79, Op::ADC, Mode::Aby},
    {0x61, Op::ADC, Mode::Izx},
    {0x71, Op::ADC, Mode::Izy},
    {0x29, Op::AND, Mode::Imm},
    {0x25, Op::AND, Mode::Zp},
    {0x35, Op::AND, Mode::Zpx},
    {0x2D, Op::AND, Mode::Abs},
    {0x3D, Op::AND, Mode::Abx},
    {0x39, Op::AND, Mode::Aby},
    {0x21, Op::AND, Mode::Izx},
    {0x31, Op::AND, Mode::Izy},
    {0x0A, Op::ASL, Mode::Acc},
    {0x06, Op::ASL, Mode::Zp},
    {0x16, Op::ASL, Mode::Zpx},
    {0x0E, Op::ASL, Mode::Abs},
    {0x1E, Op::ASL, Mode::Abx},
    {0x90, Op::BCC, Mode::Rel},
    {0xB0, Op::BCS, Mode::Rel},
    {0xF0, Op::BEQ, Mode::Rel},
    {0x24, Op::BIT, Mode::Zp},
    {0x2C, Op::BIT, Mode::Abs},
    {0x30, Op::BMI, Mode::Rel},
    {0xD0, Op::BNE, Mode::Rel},
    {0x10, Op::BPL, Mode::Rel},
    {0x00, Op::BRK, Mode::Imp},
    {0x50, Op::BVC, Mode::Rel},
    {0x70, Op::BVS, Mode::Rel},
    {0x18, Op::CLC, Mode::Imp},
    {0xD8, Op::CLD, Mode::Imp},
    {0x58, Op::CLI, Mode::Imp},
    {0xB8, Op::CLV, Mode::Imp},
    {0xC9, Op::CMP, Mode::Imm},
    {0xC5, Op::CMP, Mode::Zp},
    {0xD5, Op::CMP, Mode::Zpx},
    {0xCD, Op::CMP, Mode::Abs},
    {0xDD, Op::CMP, Mode::Abx},
    {0xD9, Op::CMP, Mode::Aby},
    {0xC1, Op::CMP, Mode::Izx},
    {0xD1, Op::CMP, Mode::Izy},
    {0xE0, Op::CPX, Mode::Imm},
    {0xE4, Op::CPX, Mode::Zp},
    {0xEC, Op::CPX, Mode::Abs},
    {0xC0, Op::CPY, Mode::Imm},
    {0xC4, Op::CPY, Mode::Zp},
    {0xCC, Op::CPY, Mode::Abs},
    {0xC6, Op::DEC, Mode::Zp},
    {0xD6, Op::DEC, Mode::Zpx},
    {0xCE, Op::DEC, Mode::Abs},
    {0xDE, Op::DEC, Mode::Abx},
    {0xCA, Op::DEX, Mode::Imp},
    {0x88, Op::DEY, Mode::Imp},
    {0x49, Op::EOR, Mode::Imm},
    {0x45, Op::EOR, Mode::Zp},
    {0x55, Op::EOR, Mode::Zpx},
    {0x4D, Op::EOR, Mode::Abs},
    {0x5D, Op::EOR, Mode::Abx},
    {0x59, Op::EOR, Mode::Aby},
    {0x41, Op::EOR, Mode::Izx},
    {0x51, Op::EOR, Mode::Izy},
    {0xE6, Op::INC, Mode::Zp},
    {0xF6, Op::INC, Mode::Zpx},
    {0xEE, Op::INC, Mode::Abs},
    {0xFE, Op::INC, Mode::Abx},
    {0xE8, Op::INX, Mode::Imp},
    {0xC8, Op::INY, Mode::Imp},
    {0x4C, Op::JMP, Mode::Abs},
    {0x6C, Op::JMP, Mode::Ind},
    {0x20, Op::JSR, Mode::Abs},
    {0xA9, Op::LDA, Mode::Imm},
    {0xA5, Op::LDA, Mode::Zp},
    {0xB5, Op::LDA, Mode::Zpx},
    {0xAD, Op::LDA, Mode::Abs},
    {0xBD, Op::LDA, Mode::Abx},
    {0xB9, Op::LDA, Mode::Aby},
    {0xA1, Op::LDA, Mode::Izx},
    {0xB1, Op::LDA, Mode::Izy},
    {0xA2, Op::LDX, Mode::Imm},
    {0xA6, Op::LDX, Mode::Zp},
    {0xB6, Op::LDX, Mode::Zpy},
    {0xAE, Op::LDX, Mode::Abs},
    {0xBE, Op::LDX, Mode::Aby},
    {0xA0, Op::LDY, Mode::Imm},
    {0xA4, Op::LDY, Mode::Zp},
    {0xB4, Op::LDY, Mode::Zpx},
    {0xAC, Op::LDY, Mode::Abs},
    {0xBC, Op::LDY, Mode::Abx},
    {0x4A, Op::LSR, Mode::Acc},
    {0x46, Op::LSR, Mode::Zp},
    {0x56, Op::LSR, Mode::Zpx},
    {0x4E, Op::LSR, Mode::Abs},
    {0x5E, Op::LSR, Mode::Abx},
    {0xEA, Op::NOP, Mode::Imp},
    {0x09, Op::ORA, Mode::Imm},
    {0x05, Op::ORA, Mode::Zp},
    {0x15, Op::ORA, Mode::Zpx},
    {0x0D, Op::ORA, Mode::Abs},
    {0x1D, Op::ORA, Mode::Abx},
    {0x19, Op::ORA, Mode::Aby},
    {0x01, Op::ORA, Mode::Izx},
    {0x11, Op::ORA, Mode::Izy},
    {0x48, Op::PHA, Mode::Imp},
    {0x08, Op::PHP, Mode::Imp},
    {0x68, Op::PLA, Mode::Imp},
    {0x28, Op::PLP, Mode::Imp},
    {0x2A, Op::ROL, Mode::Acc},
    {0x26, Op::ROL, Mode::Zp},
    {0x36, Op::ROL, Mode::Zpx},
    {0x2E, Op::ROL, Mode::Abs},
    {0x3E, Op::ROL, Mode::Abx},
    {0x6A, Op::ROR, Mode::Acc},
    {0x66, Op::ROR, Mode::Zp},
    {0x76, Op::ROR, Mode::Zpx},
    {0x6E, Op::ROR, Mode::Abs},
    {0x7E, Op::ROR, Mode::Abx},
    {0x40, Op::RTI, Mode::Imp},
    {0x60, Op::RTS, Mode::Imp},
    {0xE9, Op::SBC, Mode::Imm},
    {0xE5, Op::SBC, Mode::Zp},
    {0xF5, Op::SBC, Mode::Zpx},
    {0xED, Op::SBC, Mode::Abs},
    {0xFD, Op::SBC, Mode::Abx},
    {0xF9, Op::SBC, Mode::Aby},
    {0xE1, Op::SBC, Mode::Izx},
    {0xF1, Op::SBC, Mode::Izy},
    {0x38, Op::SEC, Mode::Imp},
    {0xF8, Op::SED, Mode::Imp},
    {0x78, Op::SEI, Mode::Imp},
    {0x85, Op::STA, Mode::Zp},
    {0x95, Op::STA, Mode::Zpx},
    {0x8D, Op::STA, Mode::Abs},
    {0x9D, Op::STA, Mode::Abx},
    {0x99, Op::STA, Mode::Aby},
    {0x81, Op::STA, Mode::Izx},
    {0x91, Op::STA, Mode::Izy},
    {0x86, Op::STX, Mode::Zp},
    {0x96, Op::STX, Mode::Zpy},
    {0x8E, Op::STX, Mode::Abs},
    {0x84, Op::STY, Mode::Zp},
    {0x94, Op::STY, Mode::Zpx},
    {0x8C, Op::STY, Mode::Abs},
    {0xAA, Op::TAX, Mode::Imp},
    {0xA8, Op::TAY, Mode::Imp},
    {0xBA, Op::TSX, Mode::Imp},
    {0x8A, Op::TXA, Mode::Imp},
    {0x9A, Op::TXS, Mode::Imp},
    {0x98, Op::TYA, Mode::Imp},
};

constexpr std::array<Entry, 256> buildTable()
{
    std::array<Entry, 256> table {};
    for (const Row& row : rows)
        table[row.opcode] = {row.op, row.mode};
    return table;
}

constexpr std::array<Entry, 256> table = buildTable();

bool isStore(Op op)
{
    return op == Op::STA || op == Op::STX || op == Op::STY;
}

bool isReadModifyWrite(Op op)
{
    return op == Op::ASL || op == Op::LSR || op == Op::ROL || op == Op::ROR || op == Op::INC || op == Op::DEC;
}

} // namespace

uchar Mos6502::read(quint16 address)
{
    m_irqBefore = m_irqNow;
    const uchar value = m_bus.read(address);
    m_irqNow = m_bus.irqLine();
    return value;
}

void Mos6502::write(quint16 address, uchar value)
{
    m_irqBefore = m_irqNow;
    m_bus.write(address, value);
    m_irqNow = m_bus.irqLine();
}

void Mos6502::setNz(uchar value)
{
    m_regs.p = uchar((m_regs.p & ~(Z | N)) | (value == 0 ? Z : 0) | (value & N));
}

void Mos6502::interrupt(quint16 vector, bool brk)
{
    push(uchar(m_regs.pc >> 8));
    push(uchar(m_regs.pc));
    push(uchar(m_regs.p | U | (brk ? B : 0)));
    m_regs.p |= I;
    const uchar low = read(vector);
    m_regs.pc = quint16(low | read(quint16(vector + 1)) << 8);
    m_polledI = true;
}

uchar Mos6502::modify(int op, uchar value)
{
    auto& r = m_regs;
    const uchar carryIn = r.p & C;
    switch (Op(op)) {
    case Op::ASL:
        r.p = uchar((r.p & ~C) | (value >> 7));
        value = uchar(value << 1);
        break;
    case Op::LSR:
        r.p = uchar((r.p & ~C) | (value & 1));
        value = uchar(value >> 1);
        break;
    case Op::ROL:
        r.p = uchar((r.p & ~C) | (value >> 7));
        value = uchar(value << 1 | carryIn);
        break;
    case Op::ROR:
        r.p = uchar((r.p & ~C) | (value & 1));
        value = uchar(value >> 1 | carryIn << 7);
        break;
    case Op::INC:
        ++value;
        break;
    case Op::DEC:
        --value;
        break;
    default:
        break;
    }
    setNz(value);
    return value;
}

void Mos6502::compute(int op, uchar value)
{
    auto& r = m_regs;
    const auto compare = [&](uchar reg) {
        r.p = uchar((r.p & ~C) | (reg >= value ? C : 0));
        setNz(uchar(reg - value));
    };
    switch (Op(op)) {
    case Op::LDA:
        setNz(r.a = value);
        break;
    case Op::LDX:
        setNz(r.x = value);
        break;
    case Op::LDY:
        setNz(r.y = value);
        break;
    case Op::AND:
        setNz(r.a &= value);
        break;
    case Op::ORA:
        setNz(r.a |= value);
        break;
    case Op::EOR:
        setNz(r.a ^= value);
        break;
    case Op::CMP:
        compare(r.a);
        break;
    case Op::CPX:
        compare(r.x);
        break;
    case Op::CPY:
        compare(r.y);
        break;
    case Op::BIT:
        r.p = uchar((r.p & ~(Z | V | N)) | ((r.a & value) == 0 ? Z : 0) | (value & (V | N)));
        break;
    case Op::ADC:
    case Op::SBC: {
        const bool subtract = Op(op) == Op::SBC;
        const int carry = r.p & C;
        const uchar operand = subtract ? uchar(~value) : value;
        int sum = r.a + operand + carry;
        const bool overflow = (~(r.a ^ operand) & (r.a ^ sum) & 0x80) != 0;
        if (r.p & D) {
            // Decimal mode, digit by digit (the NMOS flag quirks are not modelled).
            int low = (r.a & 15) + (subtract ? -(value & 15) - (1 - carry) : (value & 15) + carry);
            int high = (r.a >> 4) + (subtract ? -(value >> 4) : (value >> 4));
            if (low > 9 || low < 0) {
                low += subtract ? 10 : -10;
                high += subtract ? -1 : 1;
            }
            const bool out = subtract ? high >= 0 : high > 9;
            if (high > 9 || high < 0)
                high += subtract ? 10 : -10;
            sum = (high << 4 | low) | (out ? 0x100 : 0);
        }
        r.p = uchar((r.p & ~(C | V)) | (sum > 0xFF ? C : 0) | (overflow ? V : 0));
        setNz(r.a = uchar(sum));
        break;
    }
    default:
        break;
    }
}

bool Mos6502::step()
{
    auto& r = m_regs;
    const bool nmi = m_bus.takeNmiEdge();
    if (nmi || (m_irqBefore && !m_polledI)) {
        read(r.pc);
        read(r.pc);
        interrupt(nmi ? 0xFFFA : 0xFFFE, false);
        return true;
    }

    const quint16 start = r.pc;
    const Entry entry = table[m_bus.peek(start)];
    if (entry.op == Op::None)
        return false;
    read(r.pc++);
    const Op op = entry.op;
    const bool oldI = r.p & I;
    m_polledI = oldI;

    switch (op) {
    case Op::BRK:
        fetch();
        interrupt(0xFFFE, true);
        return true;
    case Op::RTI: {
        read(r.pc);
        read(quint16(0x100 | r.s));
        r.p = uchar((pull() | U) & ~B);
        const uchar low = pull();
        r.pc = quint16(low | pull() << 8);
        m_polledI = r.p & I;
        return true;
    }
    case Op::RTS: {
        read(r.pc);
        read(quint16(0x100 | r.s));
        const uchar low = pull();
        r.pc = quint16(low | pull() << 8);
        read(r.pc++);
        return true;
    }
    case Op::JSR: {
        const uchar low = fetch();
        read(quint16(0x100 | r.s));
        push(uchar(r.pc >> 8));
        push(uchar(r.pc));
        r.pc = quint16(low | read(r.pc) << 8);
        return true;
    }
    case Op::PHA:
    case Op::PHP:
        read(r.pc);
        push(op == Op::PHA ? r.a : uchar(r.p | B | U));
        return true;
    case Op::PLA:
    case Op::PLP:
        read(r.pc);
        read(quint16(0x100 | r.s));
        if (op == Op::PLA)
            setNz(r.a = pull());
        else
            r.p = uchar((pull() | U) & ~B); // polled with the old I flag, like CLI and SEI
        return true;
    default:
        break;
    }

    switch (entry.mode) {
    case Mode::Imp:
    case Mode::Acc:
        read(r.pc);
        switch (op) {
        case Op::CLC:
            r.p &= uchar(~C);
            break;
        case Op::SEC:
            r.p |= C;
            break;
        case Op::CLD:
            r.p &= uchar(~D);
            break;
        case Op::SED:
            r.p |= D;
            break;
        case Op::CLV:
            r.p &= uchar(~V);
            break;
        case Op::CLI:
            r.p &= uchar(~I);
            break; // polled with the old I flag
        case Op::SEI:
            r.p |= I;
            break;
        case Op::DEX:
            setNz(--r.x);
            break;
        case Op::DEY:
            setNz(--r.y);
            break;
        case Op::INX:
            setNz(++r.x);
            break;
        case Op::INY:
            setNz(++r.y);
            break;
        case Op::TAX:
            setNz(r.x = r.a);
            break;
        case Op::TAY:
            setNz(r.y = r.a);
            break;
        case Op::TXA:
            setNz(r.a = r.x);
            break;
        case Op::TYA:
            setNz(r.a = r.y);
            break;
        case Op::TSX:
            setNz(r.x = r.s);
            break;
        case Op::TXS:
            r.s = r.x;
            break;
        default:
            if (entry.mode == Mode::Acc)
                r.a = modify(int(op), r.a);
            break;
        }
        return true;
    case Mode::Imm:
        compute(int(op), fetch());
        return true;
    case Mode::Rel: {
        const auto offset = qint8(fetch());
        bool taken = false;
        switch (op) {
        case Op::BCC:
            taken = !(r.p & C);
            break;
        case Op::BCS:
            taken = r.p & C;
            break;
        case Op::BNE:
            taken = !(r.p & Z);
            break;
        case Op::BEQ:
            taken = r.p & Z;
            break;
        case Op::BPL:
            taken = !(r.p & N);
            break;
        case Op::BMI:
            taken = r.p & N;
            break;
        case Op::BVC:
            taken = !(r.p & V);
            break;
        case Op::BVS:
            taken = r.p & V;
            break;
        default:
            break;
        }
        if (!taken)
            return true;
        read(r.pc);
        const auto target = quint16(r.pc + offset);
        if ((target & 0xFF00) != (r.pc & 0xFF00))
            read(quint16((r.pc & 0xFF00) | (target & 0xFF)));
        r.pc = target;
        return true;
    }
    case Mode::Ind: {
        const uchar low = fetch();
        const uchar high = fetch();
        const uchar targetLow = read(quint16(high << 8 | low));
        // The NMOS 6502 does not carry into the pointer's high byte.
        r.pc = quint16(targetLow | read(quint16(high << 8 | uchar(low + 1))) << 8);
        return true;
    }
    default:
        break;
    }

    // Instructions with a memory operand: find the effective address with every dummy
    // access, then read, write or read-modify-write it.
    const bool store = isStore(op);
    const bool rmw = isReadModifyWrite(op);
    quint16 address = 0;
    bool fixup = store || rmw; // indexed stores and RMW always take the extra cycle
    switch (entry.mode) {
    case Mode::Zp:
        address = fetch();
        break;
    case Mode::Zpx:
    case Mode::Zpy: {
        const uchar base = fetch();
        read(base);
        address = uchar(base + (entry.mode == Mode::Zpx ? r.x : r.y));
        break;
    }
    case Mode::Abs: {
        const uchar low = fetch();
        address = quint16(low | fetch() << 8);
        if (op == Op::JMP) {
            r.pc = address;
            return true;
        }
        break;
    }
    case Mode::Abx:
    case Mode::Aby:
    case Mode::Izy: {
        quint16 base = 0;
        if (entry.mode == Mode::Izy) {
            const uchar pointer = fetch();
            const uchar low = read(pointer);
            base = quint16(low | read(uchar(pointer + 1)) << 8);
        } else {
            const uchar low = fetch();
            base = quint16(low | fetch() << 8);
        }
        const uchar index = entry.mode == Mode::Abx ? r.x : r.y;
        address = quint16(base + index);
        if (fixup || (address & 0xFF00) != (base & 0xFF00))
            read(quint16((base & 0xFF00) | (address & 0xFF)));
        break;
    }
    case Mode::Izx: {
        const uchar pointer = fetch();
        read(pointer);
        const uchar low = read(uchar(pointer + r.x));
        address = quint16(low | read(uchar(pointer + r.x + 1)) << 8);
        break;
    }
    default:
        return false;
    }

    if (store) {
        write(address, op == Op::STA ? r.a : op == Op::STX ? r.x : r.y);
    } else if (rmw) {
        const uchar value = read(address);
        write(address, value);
        write(address, modify(int(op), value));
    } else {
        compute(int(op), read(address));
    }
    return true;
}
