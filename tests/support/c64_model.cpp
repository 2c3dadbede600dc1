#include "support/c64_model.h"

namespace {

constexpr int firstBadline = 0x30;
constexpr int lastBadline = 0xF7;
constexpr int spriteHeight = 21;

} // namespace

C64Model::C64Model(Video video)
    : m_video(video)
    , m_cpu(*this)
{
    resetToBasic();
}

void C64Model::resetToBasic()
{
    m_ram.fill(0);
    m_ram[0] = 0x2F;
    m_ram[1] = 0x37;
    std::fill(m_ram.begin() + 0x0400, m_ram.begin() + 0x07E8, uchar(0x20));
    m_colorRam.fill(14);
    m_vic.fill(0);
    m_vic[0x11] = 0x1B;
    m_vic[0x16] = 0xC8;
    m_vic[0x18] = 0x14;
    m_vic[0x20] = 14;
    m_vic[0x21] = 6;
    // The KERNAL's 60 Hz keyboard interrupt from CIA 1; CIA 2 drives the VIC bank (0).
    m_cia1 = {};
    m_cia1.latch = m_cia1.counter = 0x4025;
    m_cia1.control = 0x01;
    m_cia1.mask = 0x01;
    m_cia2 = {};
    m_cia2.port = 0x97;
    m_cia2.ddr = 0x3F;
    m_cpu.registers() = {};
    // Start in the middle of a frame, as a SYS typed at the keyboard would.
    m_cycle = quint64(100 * cyclesPerLine());
    m_frame = 0;
    m_sideOpen.assign(1, std::vector<bool>(linesPerFrame(), false));
    m_verticalOpen.assign(1, std::vector<bool>(linesPerFrame(), false));
}

bool C64Model::loadPrg(const QByteArray& prg)
{
    if (prg.size() < 2)
        return false;
    const int load = uchar(prg[0]) | uchar(prg[1]) << 8;
    if (load + prg.size() - 2 > 0x10000)
        return false;
    std::copy(prg.begin() + 2, prg.end(), m_ram.begin() + load);
    return true;
}

bool C64Model::runUntilPc(quint16 pc, quint64 maxCycles)
{
    const quint64 limit = m_cycle + maxCycles;
    while (m_cycle < limit) {
        if (m_cpu.registers().pc == pc)
            return true;
        if (!m_cpu.step())
            return false;
    }
    return false;
}

bool C64Model::runUntilFrame(int frame)
{
    while (m_frame < frame) {
        if (!m_cpu.step())
            return false;
    }
    return true;
}

int C64Model::line() const
{
    return int(frameCycle() / cyclesPerLine());
}

int C64Model::lineCycle() const
{
    return int(frameCycle() % cyclesPerLine()) + 1;
}

bool C64Model::sideBorderOpen(int frame, int line) const
{
    return frame >= 0 && frame < int(m_sideOpen.size()) && line >= 0 && line < linesPerFrame()
        && m_sideOpen[std::size_t(frame)][std::size_t(line)];
}

bool C64Model::verticalBorderOpen(int frame, int line) const
{
    return frame >= 0 && frame < int(m_verticalOpen.size()) && line >= 0 && line < linesPerFrame()
        && m_verticalOpen[std::size_t(frame)][std::size_t(line)];
}

// Sprites 0-2 fetch their data at the end of the line before the one they show, sprites
// 3-7 at its start: sprite n's first access is in cycle 58 + 2n (PAL; 60 + 2n on the
// longer NTSC line) of the previous line, or 2n - 5 of its own.
int C64Model::spriteFetchCycle(int sprite) const
{
    if (sprite < 3)
        return (m_video == Video::Pal ? 58 : 60) + 2 * sprite;
    return 2 * sprite - 5;
}

// The cycle in which a sprite's first pixel at X comes out: X $000 is in cycle 14 and
// each cycle is 8 pixels; the line starts at X $194 (PAL) or $19C (NTSC).
int C64Model::spriteDisplayCycle(int x) const
{
    const int lineStart = m_video == Video::Pal ? 0x194 : 0x19C;
    return x < lineStart ? 14 + x / 8 : 1 + (x - lineStart) / 8;
}

int C64Model::spriteX(int sprite) const
{
    return m_vic[std::size_t(2 * sprite)] | ((m_vic[0x10] >> sprite) & 1) << 8;
}

// BA goes low three cycles before a sprite's first fetch and stays low through its
// second, and for cycles 12-54 of a badline (the 40 character fetches from 15 on).
bool C64Model::baLow() const
{
    const int cpl = cyclesPerLine();
    const qint64 absoluteLine = qint64(m_cycle) / cpl;
    const int lc = lineCycle();
    const int l = line();
    if (m_denAtLine30 && l >= firstBadline && l <= lastBadline && (l & 7) == (m_vic[0x11] & 7) && lc >= 12
        && lc <= 54)
        return true;
    for (int n = 0; n < 8; ++n) {
        const SpriteDma& dma = m_sprites[std::size_t(n)];
        if (!dma.on && dma.firstLine == 0)
            continue;
        for (qint64 display = absoluteLine; display <= absoluteLine + 1; ++display) {
            if (display < dma.firstLine || display > dma.firstLine + spriteHeight - 1)
                continue;
            const qint64 fetchLine = n < 3 ? display - 1 : display;
            const qint64 fetch = fetchLine * cpl + spriteFetchCycle(n) - 1;
            const auto now = qint64(m_cycle);
            if (now >= fetch - 3 && now <= fetch + 1)
                return true;
        }
    }
    return false;
}

void C64Model::tickCia(Cia& cia)
{
    if (!(cia.control & 1))
        return;
    if (cia.counter == 0) {
        cia.flags |= 1;
        cia.counter = cia.latch;
        if (cia.control & 8)
            cia.control &= uchar(~1);
    } else {
        --cia.counter;
    }
}

void C64Model::advance()
{
    ++m_cycle;
    tickCia(m_cia1);
    tickCia(m_cia2);
    const bool nmi = m_cia2.asserted();
    if (nmi && !m_nmiLine)
        m_nmiEdge = true;
    m_nmiLine = nmi;

    const int cpl = cyclesPerLine();
    const int l = line();
    const int lc = lineCycle();
    const qint64 absoluteLine = qint64(m_cycle) / cpl;
    if (lc == 1) {
        if (l == 0) {
            ++m_frame;
            m_sideOpen.emplace_back(std::size_t(linesPerFrame()), false);
            m_verticalOpen.emplace_back(std::size_t(linesPerFrame()), false);
        }
        if (l == m_rasterCompare)
            m_irqFlags |= 1;
        if (l == firstBadline)
            m_denAtLine30 = m_vic[0x11] & 0x10;
        m_mainBorderSetThisLine = false;
        m_verticalOpen[std::size_t(m_frame)][std::size_t(l)] = !m_verticalBorder;
    }

    // The VIC's border compares: the 38-column right edge X $14F falls in cycle 56, the
    // 40-column one X $158 in cycle 57. A CSEL change written in cycle 56 is seen by the
    // second compare only, which is how the side border is opened.
    const bool wide = m_vic[0x16] & 8;
    if (lc == 56 && !wide)
        m_mainBorderSetThisLine = true;
    if (lc == 57) {
        if (wide)
            m_mainBorderSetThisLine = true;
        m_sideOpen[std::size_t(m_frame)][std::size_t(l)] = !m_mainBorderSetThisLine;
    }
    if (lc == cpl) {
        const bool rows25 = m_vic[0x11] & 8;
        if (l == (rows25 ? 251 : 247))
            m_verticalBorder = true;
        if (l == (rows25 ? 51 : 55) && (m_vic[0x11] & 0x10))
            m_verticalBorder = false;
    }

    // Sprite DMA: on at cycle 55 of the line whose low byte equals the sprite's Y, for
    // the 21 lines after it; a sprite still showing its last line may start again.
    if (lc == 55) {
        for (int n = 0; n < 8; ++n) {
            SpriteDma& dma = m_sprites[std::size_t(n)];
            if (dma.on && absoluteLine >= dma.firstLine + spriteHeight - 1)
                dma.on = false;
            if (!dma.on && (m_vic[0x15] >> n & 1) && m_vic[std::size_t(2 * n + 1)] == (l & 0xFF)) {
                dma.on = true;
                dma.endingFirstLine = dma.firstLine;
                dma.firstLine = int(absoluteLine + 1);
            }
        }
    }
    const uchar bankBits = uchar(~(m_cia2.port | ~m_cia2.ddr) & 3);
    const int screen = bankBits * 0x4000 + (m_vic[0x18] >> 4) * 0x400;
    for (int n = 0; n < 8; ++n) {
        SpriteDma& dma = m_sprites[std::size_t(n)];
        if (dma.firstLine == 0)
            continue;
        const qint64 display = n < 3 && lc >= 55 ? absoluteLine + 1 : absoluteLine;
        const bool showing = display >= dma.firstLine && display < dma.firstLine + spriteHeight;
        if (showing && lc == spriteFetchCycle(n))
            dma.pointer = m_ram[std::size_t(screen + 0x3F8 + n)];
        for (const int first : {dma.endingFirstLine, dma.firstLine}) {
            if (first == 0 || absoluteLine < first || absoluteLine >= first + spriteHeight
                || lc != spriteDisplayCycle(spriteX(n)))
                continue;
            m_spriteLines.push_back({m_frame, l, n, int(first - (absoluteLine - l)), dma.pointer, spriteX(n),
                uchar(m_vic[std::size_t(0x27 + n)] & 15), bool(m_vic[0x1C] >> n & 1),
                uchar(m_vic[0x18] >> 4)});
            break;
        }
    }
}

bool C64Model::ioVisible() const
{
    const uchar port = m_ram[1];
    return (port & 3) != 0 && (port & 4) != 0;
}

uchar C64Model::peek(quint16 address) const
{
    return m_ram[address];
}

uchar C64Model::read(quint16 address)
{
    while (baLow())
        advance();
    uchar value = m_ram[address];
    if (address >= 0xD000 && address < 0xE000 && ioVisible())
        value = readIo(address);
    if (address == 0xFFFF || address == 0xFFFB) {
        const auto handler = quint16(m_ram[address - 1u] | value << 8);
        m_interrupts.push_back({m_cycle, m_frame, line(), address == 0xFFFB, handler});
    }
    advance();
    return value;
}

void C64Model::write(quint16 address, uchar value)
{
    if (address >= 0xD000 && address < 0xE000 && ioVisible())
        writeIo(address, value);
    else
        m_ram[address] = value;
    advance();
}

uchar C64Model::readIo(quint16 address)
{
    if (address < 0xD400) {
        const int reg = address & 0x3F;
        const uchar v = m_vic[std::size_t(reg)];
        switch (reg) {
        case 0x11:
            return uchar((v & 0x7F) | ((line() & 0x100) >> 1));
        case 0x12:
            return uchar(line());
        case 0x16:
            return v | 0xC0;
        case 0x18:
            return v | 0x01;
        case 0x19:
            return uchar(m_irqFlags | 0x70 | ((m_irqFlags & m_vic[0x1A] & 15) ? 0x80 : 0));
        case 0x1A:
            return v | 0xF0;
        case 0x1E:
        case 0x1F:
            return 0;
        default:
            return reg >= 0x20 && reg <= 0x2E ? uchar(v | 0xF0) : reg > 0x2E ? 0xFF : v;
        }
    }
    if (address < 0xD800)
        return 0;
    if (address < 0xDC00) // colour RAM: 4 bits; the upper ones are whatever was on the bus
        return uchar((m_colorRam[address & 0x3FF] & 15) | (uchar(m_cycle * 0x9E37u >> 5) & 0xF0));
    if (address >= 0xDE00)
        return 0xFF;
    Cia& cia = address < 0xDD00 ? m_cia1 : m_cia2;
    switch (address & 0x0F) {
    case 0x00:
        return uchar(cia.port | ~cia.ddr);
    case 0x02:
        return cia.ddr;
    case 0x04:
        return uchar(cia.counter);
    case 0x05:
        return uchar(cia.counter >> 8);
    case 0x0D: {
        const uchar value = uchar(cia.flags | (cia.asserted() ? 0x80 : 0));
        cia.flags = 0;
        m_nmiLine = m_cia2.asserted();
        return value;
    }
    case 0x0E:
        return cia.control;
    default:
        return 0;
    }
}

void C64Model::writeIo(quint16 address, uchar value)
{
    if (address < 0xD400) {
        const int reg = address & 0x3F;
        if (reg > 0x2E)
            return;
        m_vicWrites.push_back({m_cycle, m_frame, line(), lineCycle(), reg, value});
        switch (reg) {
        case 0x11:
            m_rasterCompare = (m_rasterCompare & 0xFF) | (value & 0x80) << 1;
            if (line() == firstBadline && (value & 0x10))
                m_denAtLine30 = true;
            break;
        case 0x12:
            m_rasterCompare = (m_rasterCompare & 0x100) | value;
            return;
        case 0x19:
            m_irqFlags &= uchar(~value & 15);
            return;
        default:
            break;
        }
        m_vic[std::size_t(reg)] = value;
        return;
    }
    if (address < 0xD800)
        return;
    if (address < 0xDC00) {
        m_colorRam[address & 0x3FF] = value & 15;
        return;
    }
    if (address >= 0xDE00)
        return;
    Cia& cia = address < 0xDD00 ? m_cia1 : m_cia2;
    switch (address & 0x0F) {
    case 0x00:
        cia.port = value;
        break;
    case 0x02:
        cia.ddr = value;
        break;
    case 0x04:
        cia.latch = quint16((cia.latch & 0xFF00) | value);
        break;
    case 0x05:
        cia.latch = quint16((cia.latch & 0x00FF) | value << 8);
        if (!(cia.control & 1))
            cia.counter = cia.latch;
        break;
    case 0x0D:
        if (value & 0x80)
            cia.mask |= value & 0x1F;
        else
            cia.mask &= uchar(~value & 0x1F);
        break;
    case 0x0E:
        if (value & 0x10)
            cia.counter = cia.latch;
        cia.control = value & uchar(~0x10);
        break;
    default:
        break;
    }
    const bool nmi = m_cia2.asserted();
    if (nmi && !m_nmiLine)
        m_nmiEdge = true;
    m_nmiLine = nmi;
}

bool C64Model::irqLine() const
{
    return (m_irqFlags & m_vic[0x1A] & 15) != 0 || m_cia1.asserted();
}

bool C64Model::takeNmiEdge()
{
    const bool edge = m_nmiEdge;
    m_nmiEdge = false;
    return edge;
}
