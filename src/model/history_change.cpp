#include "model/history_change.h"

#include <cstring>
#include <memory>
#include <utility>

namespace {

// Whether the change's crops fit inside the change: plain pixels of the rectangle's size,
// few enough, at a corner that 16 bits hold.
bool fitsInline(const RegionChange& change)
{
    const QRect& rect = change.rect;
    if (rect.isEmpty() || rect.left() < 0 || rect.top() < 0 || rect.left() > 0xffff || rect.top() > 0xffff)
        return false;
    if (qint64(rect.width()) * rect.height() > HistoryChange::inlineCropPixels)
        return false;
    const auto plain = [&](const ColormapCrop& crop) {
        return crop.isInflated() && !crop.isCompressed() && !crop.isDamaged() && crop.size() == rect.size();
    };
    return plain(change.before) && plain(change.after);
}

} // namespace

HistoryChange::HistoryChange(RegionChange change)
{
    if (!fitsInline(change)) {
        // The union cannot hold an owning smart pointer; release() hands the block back
        // to one.
        m_payload.region = std::make_unique<RegionChange>(std::move(change)).release();
        m_form = Form::HeldRegion;
        return;
    }
    m_form = Form::InlineRegion;
    m_x = quint16(change.rect.left());
    m_y = quint16(change.rect.top());
    m_width = quint8(change.rect.width());
    m_height = quint8(change.rect.height());
    const std::size_t pixels = std::size_t(m_width) * m_height;
    std::memcpy(m_payload.pixels.data(), change.before.pixels().constData(), pixels);
    std::memcpy(m_payload.pixels.data() + inlineCropPixels, change.after.pixels().constData(), pixels);
}

HistoryChange::HistoryChange(ColorIndexChange change)
    : m_form(Form::ColorIndex)
{
    m_payload.colorIndex = change;
}

HistoryChange::HistoryChange(BorderAlignmentChange change)
    : m_form(Form::BorderAlignment)
{
    m_payload.alignment = change;
}

HistoryChange::HistoryChange(const HistoryChange& other)
{
    copyFrom(other);
}

HistoryChange::HistoryChange(HistoryChange&& other) noexcept
    : m_form(std::exchange(other.m_form, Form::Empty))
    , m_width(other.m_width)
    , m_x(other.m_x)
    , m_y(other.m_y)
    , m_height(other.m_height)
    , m_payload(other.m_payload)
{
}

HistoryChange& HistoryChange::operator=(const HistoryChange& other)
{
    if (this != &other) {
        HistoryChange copy(other);
        *this = std::move(copy);
    }
    return *this;
}

HistoryChange& HistoryChange::operator=(HistoryChange&& other) noexcept
{
    if (this != &other) {
        release();
        m_form = std::exchange(other.m_form, Form::Empty);
        m_width = other.m_width;
        m_x = other.m_x;
        m_y = other.m_y;
        m_height = other.m_height;
        m_payload = other.m_payload;
    }
    return *this;
}

HistoryChange::~HistoryChange()
{
    release();
}

void HistoryChange::release()
{
    if (m_form == Form::HeldRegion)
        std::unique_ptr<RegionChange>(m_payload.region).reset();
    else if (m_form == Form::List)
        std::unique_ptr<std::vector<HistoryChange>>(m_payload.list).reset();
    m_form = Form::Empty;
}

void HistoryChange::copyFrom(const HistoryChange& other)
{
    m_form = other.m_form;
    m_width = other.m_width;
    m_x = other.m_x;
    m_y = other.m_y;
    m_height = other.m_height;
    if (other.m_form == Form::HeldRegion)
        m_payload.region = std::make_unique<RegionChange>(*other.m_payload.region).release();
    else if (other.m_form == Form::List)
        m_payload.list = std::make_unique<std::vector<HistoryChange>>(*other.m_payload.list).release();
    else
        m_payload = other.m_payload;
}

bool HistoryChange::restoreRegion(Colormap& canvas, bool after) const
{
    // Undo, redo and the workstage replay walk long runs of small crops, nearly all plain
    // pixels of their rectangle inside the canvas: those are copied straight, the rest go
    // the careful way.
    const QRect rect = regionRect();
    if (const uchar* source = plainPixels(after); source && canvas.holds(rect)) {
        canvas.writeRows(rect.left(), rect.top(), rect.width(), rect.height(), source);
        return true;
    }
    if (m_form == Form::HeldRegion) {
        const ColormapCrop& crop = after ? m_payload.region->after : m_payload.region->before;
        if (!crop.inflate())
            return false;
        canvas.restoreRegion(rect, crop.pixels());
        return true;
    }
    if (m_form != Form::InlineRegion)
        return true;
    // Clipped like a held crop, though edits and the file reader only record rectangles
    // inside the canvas.
    const uchar* source = plainPixels(after);
    for (int row = 0; row < m_height; ++row) {
        for (int column = 0; column < m_width; ++column)
            canvas.setPixel(m_x + column, m_y + row, source[row * m_width + column]);
    }
    return true;
}

ColormapCrop HistoryChange::regionCrop(bool after) const
{
    if (m_form == Form::HeldRegion)
        return after ? m_payload.region->after : m_payload.region->before;
    if (m_form != Form::InlineRegion)
        return {};
    Colormap pixels(m_width, m_height);
    std::memcpy(pixels.scanLine(0), inlineCrop(after).data(), std::size_t(m_width) * m_height);
    return ColormapCrop(std::move(pixels));
}

std::span<const uchar> HistoryChange::inlineCrop(bool after) const
{
    if (m_form != Form::InlineRegion)
        return {};
    return {m_payload.pixels.data() + (after ? inlineCropPixels : 0), std::size_t(m_width) * m_height};
}

const ColormapCrop* HistoryChange::heldCrop(bool after) const
{
    if (m_form != Form::HeldRegion)
        return nullptr;
    return after ? &m_payload.region->after : &m_payload.region->before;
}
