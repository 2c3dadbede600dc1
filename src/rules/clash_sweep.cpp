#include "rules/clash_sweep.h"

#include "model/color_distance.h"
#include "model/colormap.h"
#include "model/sprite_strip_grid.h"
#include "rules/sprite_colors.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define KROMEL_SWEEP_CELL_KERNEL 1
#endif

namespace {

// The buffer may hold any byte; the editor itself only writes the 16 colour indices, so
// the sweep counts those in a 16-bin histogram and falls back to all 256 values only for a
// unit that holds something else.
constexpr int byteValues = 256;

struct ColorCount {
    uchar index;
    quint32 count;
};

// The RGB of every byte value as the chosen palette shows it, and the nearest survivor
// of every colour for each set of survivors met so far, worked out once per sweep.
class MergePlanner {
public:
    explicit MergePlanner(PaletteVariant variant)
    {
        const Palette palette(variant);
        for (int i = 0; i < byteValues; ++i)
            m_rgb[std::size_t(i)] = palette.colorAt(uchar(i));
        // The distance and the survivor's index in one key: the smallest key is the nearest
        // survivor, and among equally near ones the lowest index.
        for (int from = 0; from < c64ColorCount; ++from) {
            for (int to = 0; to < c64ColorCount; ++to)
                m_nearKey[std::size_t(from * c64ColorCount + to)]
                    = quint32(distanceSq(uchar(from), uchar(to))) << 4 | quint32(to);
        }
    }

    // The survivor nearest to the colour; survivors come in ascending order and the first
    // of equally near ones wins, so ties go to the lower index.
    uchar nearest(uchar color, const uchar* survivors, int count) const
    {
        uchar best = survivors[0];
        double bestDistance = distanceSq(color, best);
        for (int i = 1; i < count; ++i) {
            const double distance = distanceSq(color, survivors[i]);
            if (distance < bestDistance) {
                best = survivors[i];
                bestDistance = distance;
            }
        }
        return best;
    }

    // Every colour mapped to its nearest survivor, the survivors to themselves, for a set
    // of survivors among the 16 colours (bit c for colour c). A drawing reuses a few such
    // sets over and over, so each is worked out once.
    const uchar* remapForSurvivors(quint32 survivorMask)
    {
        if (m_cache.empty())
            m_cache.resize(cacheSize);
        // Two places per set: a noisy multicolor canvas meets hundreds of sets, and with
        // one place each two sets that share it would keep throwing each other out.
        // Which of the two places holds the set is chosen without a branch, since a
        // sweep meets them in no order a predictor could learn.
        const std::size_t slot = (survivorMask * 0x9E3779B1u) >> (32 - cacheBits);
        CachedRemap* const first = &m_cache[slot];
        CachedRemap* const second = &m_cache[slot ^ 1];
        const CachedRemap* const found = second->survivorMask == survivorMask ? second : first;
        if (found->survivorMask == survivorMask)
            return found->remap.data();
        CachedRemap& entry = *first;
        *second = entry;
        entry.survivorMask = survivorMask;
        for (int color = 0; color < c64ColorCount; ++color) {
            quint32 best = UINT32_MAX;
            for (quint32 rest = survivorMask; rest != 0; rest &= rest - 1) {
                const int survivor = std::countr_zero(rest);
                best = std::min(best, m_nearKey[std::size_t(color * c64ColorCount + survivor)]);
            }
            entry.remap[std::size_t(color)] = uchar(best & 15);
        }
        return entry.remap.data();
    }

private:
    static constexpr int cacheBits = 11;
    static constexpr int cacheSize = 1 << cacheBits;

    struct CachedRemap {
        quint32 survivorMask = 0;
        std::array<uchar, c64ColorCount> remap {};
    };

    double distanceSq(uchar a, uchar b) const
    {
        const QRgb from = m_rgb[a];
        return colorDistanceSq(
            ColorDistanceMetric::Euclidean, qRed(from), qGreen(from), qBlue(from), m_rgb[b]);
    }

    std::array<QRgb, byteValues> m_rgb {};
    std::array<quint32, c64ColorCount * c64ColorCount> m_nearKey {};
    std::vector<CachedRemap> m_cache;
};

// What one kind of unit may show: colours that cost it nothing (never counted, never
// merged away), the ones among them that a merged colour may turn into, and how many
// colours of its own it keeps.
struct SurvivalRules {
    int keep = 0;
    std::array<bool, byteValues> costsNothing {};
    std::array<uchar, c64ColorCount> protectedColors {};
    int protectedCount = 0;

    // The same for the 16 colours as bits, for units that hold nothing else.
    std::array<quint16, c64ColorCount> freeLanes {};
    quint32 protectedMask = 0;
    bool protectedAreColors = true;

    void finish()
    {
        for (int index = 0; index < c64ColorCount; ++index)
            freeLanes[std::size_t(index)] = costsNothing[std::size_t(index)] ? 0 : 0xffff;
        for (int i = 0; i < protectedCount; ++i) {
            const uchar color = protectedColors[std::size_t(i)];
            protectedAreColors = protectedAreColors && color < c64ColorCount;
            protectedMask |= color < c64ColorCount ? 1u << color : 0;
        }
    }
};

SurvivalRules bitmapRules(const ClashContext& ctx)
{
    SurvivalRules rules;
    if (isMulticolor(ctx.mode)) {
        // The background is one register for the whole screen; each cell picks 3 more.
        rules.keep = 3;
        rules.costsNothing[ctx.background()] = true;
        rules.protectedColors[0] = ctx.background();
        rules.protectedCount = 1;
    } else {
        rules.keep = 2;
    }
    rules.finish();
    return rules;
}

SurvivalRules spriteRules(const ClashContext& ctx, const CanvasRegion& region)
{
    SurvivalRules rules;
    rules.keep = 1;
    const SpriteSharedColors shared = spriteSharedColors(ctx, region);
    for (int i = 0; i < shared.count; ++i)
        rules.costsNothing[shared.colors[std::size_t(i)]] = true;
    // A shared colour is a merge target even where the unit does not show it yet.
    for (int index = 0; index < c64ColorCount; ++index) {
        if (shared.contains(uchar(index)))
            rules.protectedColors[std::size_t(rules.protectedCount++)] = uchar(index);
    }
    rules.finish();
    return rules;
}

// Brings the `keep` survivors to the front: the most-used first, the lower index first
// among equally used ones. The order of the rest does not matter, as each of them merges
// into a survivor on its own.
void sweepFreeColorsByUse(ColorCount* free, int count, int keep)
{
    for (int i = 0; i < keep && i < count; ++i) {
        int best = i;
        for (int j = i + 1; j < count; ++j) {
            if (free[j].count > free[best].count
                || (free[j].count == free[best].count && free[j].index < free[best].index))
                best = j;
        }
        std::swap(free[i], free[best]);
    }
}

// Fills remap[0, bins) so that every colour beyond the survivors goes to its nearest
// survivor and every other value to itself. False when the unit is within its budget.
bool planMerges(
    const quint32* counts, int bins, const SurvivalRules& rules, const MergePlanner& planner, uchar* remap)
{
    ColorCount free[byteValues];
    int freeCount = 0;
    for (int index = 0; index < bins; ++index) {
        if (counts[index] != 0 && !rules.costsNothing[std::size_t(index)])
            free[freeCount++] = {uchar(index), counts[index]};
    }
    if (freeCount <= rules.keep)
        return false;
    sweepFreeColorsByUse(free, freeCount, rules.keep);

    uchar survivors[c64ColorCount + 3];
    int survivorCount = 0;
    for (int i = 0; i < rules.protectedCount; ++i)
        survivors[survivorCount++] = rules.protectedColors[std::size_t(i)];
    for (int i = 0; i < rules.keep; ++i)
        survivors[survivorCount++] = free[i].index;
    std::sort(survivors, survivors + survivorCount);

    for (int index = 0; index < bins; ++index)
        remap[index] = uchar(index);
    for (int i = rules.keep; i < freeCount; ++i)
        remap[free[i].index] = planner.nearest(free[i].index, survivors, survivorCount);
    return true;
}

void applyRemap(Colormap& canvas, const QRect& unit, const uchar* remap)
{
    for (int y = unit.top(); y <= unit.bottom(); ++y) {
        uchar* row = canvas.scanLine(y);
        for (int x = unit.left(); x <= unit.right(); ++x)
            row[x] = remap[row[x]];
    }
}

// Units small enough for 16-bit sorting keys: a count shifted past the 4 index bits.
constexpr int maxKeyedUnitPixels = 2047;

// The fast form of planMerges for a unit holding only the 16 colours: picks the survivors
// as a bit set (bit c for colour c) and false when the unit is within its budget. Sorting
// keys put more pixels first, then the lower index, and are 0 for a colour that is absent
// or costs nothing; they are distinct, so the survivors are the `keep` largest. Each round
// takes the largest key below the previous round's.
bool chooseSurvivors(const quint16* counts, const SurvivalRules& rules, quint32& survivors)
{
    survivors = rules.protectedMask;
#if defined(__SSE2__)
    // Every colour of a cell in one pass: this is the sweep's inner loop on a noisy canvas.
    const __m128i zero = _mm_setzero_si128();
    const __m128i countsLow = _mm_loadu_si128(reinterpret_cast<const __m128i*>(counts));
    const __m128i countsHigh = _mm_loadu_si128(reinterpret_cast<const __m128i*>(counts + 8));
    const __m128i freeLow = _mm_and_si128(_mm_cmpgt_epi16(countsLow, zero),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(rules.freeLanes.data())));
    const __m128i freeHigh = _mm_and_si128(_mm_cmpgt_epi16(countsHigh, zero),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(rules.freeLanes.data() + 8)));
    // One bit per free colour. Without a population-count instruction in the baseline
    // instruction set std::popcount becomes a library call, so the bits are added by hand.
    unsigned freeBits = unsigned(_mm_movemask_epi8(_mm_packs_epi16(freeLow, freeHigh)));
    freeBits = freeBits - ((freeBits >> 1) & 0x5555u);
    freeBits = (freeBits & 0x3333u) + ((freeBits >> 2) & 0x3333u);
    freeBits = (freeBits + (freeBits >> 4)) & 0x0f0fu;
    const int freeCount = int((freeBits + (freeBits >> 8)) & 0x1fu);
    if (freeCount <= rules.keep)
        return false;
    const __m128i keysLow = _mm_and_si128(
        _mm_or_si128(_mm_slli_epi16(countsLow, 4), _mm_setr_epi16(15, 14, 13, 12, 11, 10, 9, 8)), freeLow);
    const __m128i keysHigh = _mm_and_si128(
        _mm_or_si128(_mm_slli_epi16(countsHigh, 4), _mm_setr_epi16(7, 6, 5, 4, 3, 2, 1, 0)), freeHigh);
    qint16 below = INT16_MAX;
    for (int k = 0; k < rules.keep; ++k) {
        const __m128i bound = _mm_set1_epi16(below);
        __m128i best = _mm_max_epi16(_mm_and_si128(keysLow, _mm_cmplt_epi16(keysLow, bound)),
            _mm_and_si128(keysHigh, _mm_cmplt_epi16(keysHigh, bound)));
        best = _mm_max_epi16(best, _mm_shuffle_epi32(best, _MM_SHUFFLE(1, 0, 3, 2)));
        best = _mm_max_epi16(best, _mm_shuffle_epi32(best, _MM_SHUFFLE(2, 3, 0, 1)));
        best = _mm_max_epi16(best, _mm_shufflelo_epi16(best, _MM_SHUFFLE(2, 3, 0, 1)));
        below = qint16(_mm_cvtsi128_si32(best));
        survivors |= 1u << (c64ColorCount - 1 - (below & 15));
    }
#else
    qint16 keys[c64ColorCount];
    int freeCount = 0;
    for (int index = 0; index < c64ColorCount; ++index) {
        const bool isFree = counts[index] != 0 && rules.freeLanes[std::size_t(index)] != 0;
        keys[index] = isFree ? qint16(counts[index] << 4 | (c64ColorCount - 1 - index)) : 0;
        freeCount += int(isFree);
    }
    if (freeCount <= rules.keep)
        return false;
    qint16 below = INT16_MAX;
    for (int k = 0; k < rules.keep; ++k) {
        qint16 best = 0;
        for (qint16 key : keys)
            best = std::max(best, key < below ? key : qint16(0));
        below = best;
        survivors |= 1u << (c64ColorCount - 1 - (below & 15));
    }
#endif
    return true;
}

// Counts the colours of a unit into 16 bins and returns the OR of all its bytes, which
// tells whether any of them lies outside the 16 colours. Cells come in two widths, and a
// fixed width lets the compiler unroll the rows.
template <int Width> uchar countColors(const Colormap& canvas, const QRect& unit, int width, quint16* counts)
{
    uchar seen = 0;
    for (int y = unit.top(); y <= unit.bottom(); ++y) {
        const uchar* row = canvas.scanLine(y) + unit.left();
        for (int x = 0; x < (Width > 0 ? Width : width); ++x) {
            ++counts[row[x] & (c64ColorCount - 1)];
            seen |= row[x];
        }
    }
    return seen;
}

uchar countColors(const Colormap& canvas, const QRect& unit, quint16* counts)
{
    const int width = unit.width();
    if (width == 4)
        return countColors<4>(canvas, unit, width, counts);
    if (width == 8)
        return countColors<8>(canvas, unit, width, counts);
    return countColors<0>(canvas, unit, width, counts);
}

template <int Width> void applyColorRemap(Colormap& canvas, const QRect& unit, int width, const uchar* remap)
{
    for (int y = unit.top(); y <= unit.bottom(); ++y) {
        uchar* row = canvas.scanLine(y) + unit.left();
        for (int x = 0; x < (Width > 0 ? Width : width); ++x)
            row[x] = remap[row[x] & (c64ColorCount - 1)];
    }
}

void applyColorRemap(Colormap& canvas, const QRect& unit, const uchar* remap)
{
    const int width = unit.width();
    if (width == 4)
        applyColorRemap<4>(canvas, unit, width, remap);
    else if (width == 8)
        applyColorRemap<8>(canvas, unit, width, remap);
    else
        applyColorRemap<0>(canvas, unit, width, remap);
}

#if defined(KROMEL_SWEEP_CELL_KERNEL)

// A whole bitmap cell, 4 or 8 pixels wide and 8 rows tall, held in registers: sweeping a
// noisy canvas is mostly counting and rewriting such cells, which the instruction sets
// below do in a few dozen instructions instead of a few per pixel. Baseline x86-64 has
// neither a byte shuffle nor a population count, so the cell kernel is compiled for them
// on its own and used only where the processor has both.
#define KROMEL_CELL_TARGET __attribute__((target("ssse3,popcnt")))
// The loops below have fixed, short trip counts and run once per cell.
#define KROMEL_UNROLLED _Pragma("GCC unroll 16")

bool processorRunsCellKernel()
{
    return __builtin_cpu_supports("ssse3") && __builtin_cpu_supports("popcnt");
}

enum class CellOutcome { WithinBudget, Settled, NotColorsOnly };

template <int Width> struct CellRegisters {
    static constexpr int vectors = Width * 8 / 16;
    __m128i rows[vectors];
};

template <int Width>
KROMEL_CELL_TARGET inline CellRegisters<Width> loadCell(const uchar* topLeft, std::size_t stride)
{
    CellRegisters<Width> cell;
    if constexpr (Width == 8) {
        KROMEL_UNROLLED
        for (int i = 0; i < 4; ++i) {
            const uchar* row = topLeft + std::size_t(2 * i) * stride;
            cell.rows[i] = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row)),
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + stride)));
        }
    } else {
        KROMEL_UNROLLED
        for (int i = 0; i < 2; ++i) {
            __m128i quad[4];
            KROMEL_UNROLLED
            for (int r = 0; r < 4; ++r) {
                qint32 bytes;
                std::memcpy(&bytes, topLeft + std::size_t(4 * i + r) * stride, 4);
                quad[r] = _mm_cvtsi32_si128(bytes);
            }
            cell.rows[i] = _mm_unpacklo_epi64(
                _mm_unpacklo_epi32(quad[0], quad[1]), _mm_unpacklo_epi32(quad[2], quad[3]));
        }
    }
    return cell;
}

template <int Width>
KROMEL_CELL_TARGET inline void storeCell(const CellRegisters<Width>& cell, uchar* topLeft, std::size_t stride)
{
    if constexpr (Width == 8) {
        KROMEL_UNROLLED
        for (int i = 0; i < 4; ++i) {
            uchar* row = topLeft + std::size_t(2 * i) * stride;
            _mm_storel_epi64(reinterpret_cast<__m128i*>(row), cell.rows[i]);
            _mm_storel_epi64(
                reinterpret_cast<__m128i*>(row + stride), _mm_unpackhi_epi64(cell.rows[i], cell.rows[i]));
        }
    } else {
        KROMEL_UNROLLED
        for (int i = 0; i < 2; ++i) {
            __m128i rest = cell.rows[i];
            KROMEL_UNROLLED
            for (int r = 0; r < 4; ++r) {
                const qint32 bytes = _mm_cvtsi128_si32(rest);
                std::memcpy(topLeft + std::size_t(4 * i + r) * stride, &bytes, 4);
                rest = _mm_srli_si128(rest, 4);
            }
        }
    }
}

// The pixel count of every colour, from the cell's four bit planes: the pixels of colour c
// are those whose bits match c in all four planes. False when a byte lies outside the 16
// colours, which the caller counts the slow way.
// The 16 pixel counts as 16-bit lanes, colours 0-7 then 8-15.
struct CellCounts {
    __m128i low;
    __m128i high;
};

template <int Width>
KROMEL_CELL_TARGET inline bool countCell(const CellRegisters<Width>& cell, CellCounts& counts)
{
    __m128i any = cell.rows[0];
    KROMEL_UNROLLED
    for (int i = 1; i < cell.vectors; ++i)
        any = _mm_or_si128(any, cell.rows[i]);
    const __m128i high = _mm_and_si128(any, _mm_set1_epi8(char(0xf0)));
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(high, _mm_setzero_si128())) != 0xffff)
        return false;

    std::uint64_t planes[4] = {};
    KROMEL_UNROLLED
    for (int bit = 0; bit < 4; ++bit) {
        // A 16-bit shift moves both bytes' bit into their top bits, which movemask reads.
        const __m128i shift = _mm_cvtsi32_si128(7 - bit);
        KROMEL_UNROLLED
        for (int i = 0; i < cell.vectors; ++i) {
            const auto mask = std::uint64_t(unsigned(_mm_movemask_epi8(_mm_sll_epi16(cell.rows[i], shift))));
            planes[bit] |= mask << (16 * i);
        }
    }
    constexpr std::uint64_t all = Width == 8 ? ~std::uint64_t(0) : 0xffffffffu;
    std::uint64_t byBit3[2] = {all & ~planes[3], planes[3]};
    std::uint64_t byBit2[4];
    KROMEL_UNROLLED
    for (int i = 0; i < 2; ++i) {
        byBit2[2 * i] = byBit3[i] & ~planes[2];
        byBit2[2 * i + 1] = byBit3[i] & planes[2];
    }
    std::uint64_t byBit1[8];
    KROMEL_UNROLLED
    for (int i = 0; i < 4; ++i) {
        byBit1[2 * i] = byBit2[i] & ~planes[1];
        byBit1[2 * i + 1] = byBit2[i] & planes[1];
    }
    // Four counts to a 64-bit word, so the lanes are filled without a trip through memory.
    std::uint64_t packed[4] = {};
    KROMEL_UNROLLED
    for (int i = 0; i < 8; ++i) {
        const auto even = std::uint64_t(__builtin_popcountll(byBit1[i] & ~planes[0]));
        const auto odd = std::uint64_t(__builtin_popcountll(byBit1[i] & planes[0]));
        packed[i / 2] |= (even | odd << 16) << (32 * (i % 2));
    }
    counts.low
        = _mm_unpacklo_epi64(_mm_cvtsi64_si128(qint64(packed[0])), _mm_cvtsi64_si128(qint64(packed[1])));
    counts.high
        = _mm_unpacklo_epi64(_mm_cvtsi64_si128(qint64(packed[2])), _mm_cvtsi64_si128(qint64(packed[3])));
    return true;
}

// Lane `Lane` of eight 16-bit lanes in all of them.
template <int Lane> KROMEL_CELL_TARGET inline __m128i broadcastLane(__m128i lanes)
{
    return _mm_shuffle_epi8(lanes, _mm_set1_epi16(short(2 * Lane | (2 * Lane + 1) << 8)));
}

template <int Lane>
KROMEL_CELL_TARGET inline void countBetterKeys(
    __m128i lanes, __m128i keysLow, __m128i keysHigh, __m128i& rankLow, __m128i& rankHigh)
{
    if constexpr (Lane < 8) {
        const __m128i key = broadcastLane<Lane>(lanes);
        rankLow = _mm_sub_epi16(rankLow, _mm_cmpgt_epi16(key, keysLow));
        rankHigh = _mm_sub_epi16(rankHigh, _mm_cmpgt_epi16(key, keysHigh));
        countBetterKeys<Lane + 1>(lanes, keysLow, keysHigh, rankLow, rankHigh);
    }
}

// chooseSurvivors for counts held in lanes, without a chain of rounds: each colour's rank is
// the number of free colours with a larger sorting key, and the `keep` colours of rank
// below `keep` survive. The keys are those of chooseSurvivors, distinct for free colours
// and 0 for the rest, so both pick the same colours.
KROMEL_CELL_TARGET inline bool chooseSurvivorsByRank(
    const CellCounts& counts, const SurvivalRules& rules, quint32& survivors)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i freeLow = _mm_and_si128(_mm_cmpgt_epi16(counts.low, zero),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(rules.freeLanes.data())));
    const __m128i freeHigh = _mm_and_si128(_mm_cmpgt_epi16(counts.high, zero),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(rules.freeLanes.data() + 8)));
    const auto freeBits = unsigned(_mm_movemask_epi8(_mm_packs_epi16(freeLow, freeHigh)));
    if (__builtin_popcount(freeBits) <= rules.keep)
        return false;
    const __m128i keysLow = _mm_and_si128(
        _mm_or_si128(_mm_slli_epi16(counts.low, 4), _mm_setr_epi16(15, 14, 13, 12, 11, 10, 9, 8)), freeLow);
    const __m128i keysHigh = _mm_and_si128(
        _mm_or_si128(_mm_slli_epi16(counts.high, 4), _mm_setr_epi16(7, 6, 5, 4, 3, 2, 1, 0)), freeHigh);
    __m128i rankLow = zero;
    __m128i rankHigh = zero;
    countBetterKeys<0>(keysLow, keysLow, keysHigh, rankLow, rankHigh);
    countBetterKeys<0>(keysHigh, keysLow, keysHigh, rankLow, rankHigh);
    const __m128i keep = _mm_set1_epi16(short(rules.keep));
    const __m128i wins = _mm_packs_epi16(_mm_and_si128(_mm_cmpgt_epi16(keep, rankLow), freeLow),
        _mm_and_si128(_mm_cmpgt_epi16(keep, rankHigh), freeHigh));
    survivors = rules.protectedMask | unsigned(_mm_movemask_epi8(wins));
    return true;
}

template <int Width>
KROMEL_CELL_TARGET CellOutcome sweepWholeCell(
    uchar* topLeft, std::size_t stride, const SurvivalRules& rules, MergePlanner& planner)
{
    CellRegisters<Width> cell = loadCell<Width>(topLeft, stride);
    CellCounts counts;
    if (!countCell<Width>(cell, counts))
        return CellOutcome::NotColorsOnly;
    quint32 survivors = 0;
    if (!chooseSurvivorsByRank(counts, rules, survivors))
        return CellOutcome::WithinBudget;
    const __m128i remap
        = _mm_loadu_si128(reinterpret_cast<const __m128i*>(planner.remapForSurvivors(survivors)));
    KROMEL_UNROLLED
    for (int i = 0; i < cell.vectors; ++i)
        cell.rows[i] = _mm_shuffle_epi8(remap, cell.rows[i]);
    storeCell<Width>(cell, topLeft, stride);
    return CellOutcome::Settled;
}

#endif

// Sweeps one cell or unit (already clipped to the canvas) in place; true when it was over
// its limit and has been settled.
bool sweepUnit(Colormap& canvas, const QRect& unit, const SurvivalRules& rules, MergePlanner& planner)
{
    const int width = unit.width();
    if (qint64(width) * unit.height() <= maxKeyedUnitPixels) {
        quint16 counts[c64ColorCount] = {};
        quint32 survivors = 0;
        const uchar seen = countColors(canvas, unit, counts);
        if (seen < c64ColorCount && rules.protectedAreColors) {
            if (!chooseSurvivors(counts, rules, survivors))
                return false;
            applyColorRemap(canvas, unit, planner.remapForSurvivors(survivors));
            return true;
        }
    }

    // A byte outside the 16 colours, a background slot holding one, or a unit too large for
    // the sorting keys: count every byte value.
    quint32 allCounts[byteValues] = {};
    for (int y = unit.top(); y <= unit.bottom(); ++y) {
        const uchar* row = canvas.scanLine(y) + unit.left();
        for (int x = 0; x < width; ++x)
            ++allCounts[row[x]];
    }
    uchar remap[byteValues];
    if (!planMerges(allCounts, byteValues, rules, planner, remap))
        return false;
    applyRemap(canvas, unit, remap);
    return true;
}

// The bounding rectangle of the units settled, kept as plain edges while sweeping.
struct Bounds {
    int left = INT_MAX;
    int top = INT_MAX;
    int right = INT_MIN;
    int bottom = INT_MIN;

    void add(const QRect& rect)
    {
        left = std::min(left, rect.left());
        top = std::min(top, rect.top());
        right = std::max(right, rect.right());
        bottom = std::max(bottom, rect.bottom());
    }
    QRect rect() const { return left > right ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom)); }
};

void sweepBitmapRegion(const ClashContext& ctx, Colormap& canvas, const QRect& clip,
    const CanvasRegion& region, MergePlanner& planner, Bounds& settled)
{
    const QRect cells = expandRectToCellsInRegion(ctx.mode, clip, region);
    if (cells.isEmpty())
        return;
    const SurvivalRules rules = bitmapRules(ctx);
    const QSize cellSize = canvasModeCellSize(ctx.mode);
    const QRect area = region.rect & canvas.rect();
#if defined(KROMEL_SWEEP_CELL_KERNEL)
    const bool kernel = rules.protectedAreColors && cellSize.height() == 8
        && (cellSize.width() == 4 || cellSize.width() == 8) && processorRunsCellKernel();
    const std::size_t stride = std::size_t(canvas.width());
#endif
    for (int top = cells.top(); top <= cells.bottom(); top += cellSize.height()) {
        const int bottom = std::min(top + cellSize.height() - 1, area.bottom());
        for (int left = cells.left(); left <= cells.right(); left += cellSize.width()) {
            const QRect cell(
                QPoint(left, top), QPoint(std::min(left + cellSize.width() - 1, area.right()), bottom));
#if defined(KROMEL_SWEEP_CELL_KERNEL)
            if (kernel && cell.size() == cellSize) {
                uchar* topLeft = canvas.scanLine(top) + left;
                const CellOutcome outcome = cellSize.width() == 8
                    ? sweepWholeCell<8>(topLeft, stride, rules, planner)
                    : sweepWholeCell<4>(topLeft, stride, rules, planner);
                if (outcome == CellOutcome::Settled)
                    settled.add(cell);
                if (outcome != CellOutcome::NotColorsOnly)
                    continue;
            }
#endif
            if (sweepUnit(canvas, cell, rules, planner))
                settled.add(cell);
        }
    }
}

void sweepSpriteStrip(const ClashContext& ctx, Colormap& canvas, const QRect& clip,
    const CanvasRegion& region, MergePlanner& planner, Bounds& settled)
{
    const SurvivalRules rules = spriteRules(ctx, region);
    const SpriteStripGrid grid = spriteStripGrid(region, ctx.mode, ctx.layout);
    const int firstRow = grid.horizontal ? 0 : grid.rowAt(clip.top());
    const int lastRow = grid.horizontal ? 0 : grid.rowAt(clip.bottom());
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = grid.columnAt(clip.left()); column <= grid.columnAt(clip.right()); ++column) {
            const QRect unit = grid.unitRect(column, row) & canvas.rect();
            if (!unit.isEmpty() && sweepUnit(canvas, unit, rules, planner))
                settled.add(unit);
        }
    }
}

} // namespace

QRect resolveExistingClashes(const ClashContext& ctx, Colormap& canvas, const QRect& rect, SweepClashStrategy)
{
    if (rect.isEmpty() || canvas.isEmpty())
        return {};
    MergePlanner planner(ctx.paletteVariant);
    Bounds settled;
    for (const CanvasRegion& region : canvasRegions(ctx.mode, canvas.size(), ctx.layout)) {
        const QRect clip = rect & region.rect & canvas.rect();
        if (region.rect.isEmpty() || clip.isEmpty())
            continue;
        if (region.isSpriteStrip())
            sweepSpriteStrip(ctx, canvas, clip, region, planner, settled);
        else
            sweepBitmapRegion(ctx, canvas, clip, region, planner, settled);
    }
    return settled.rect();
}
