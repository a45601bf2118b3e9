#include "charts/WmfWriter.h"

#include <algorithm>

namespace {

constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;
constexpr std::size_t HeaderWords = 9;

namespace Function {
constexpr std::uint16_t Eof = 0x0000;
constexpr std::uint16_t SetBkMode = 0x0102;
constexpr std::uint16_t SetMapMode = 0x0103;
constexpr std::uint16_t SetPolyFillMode = 0x0106;
constexpr std::uint16_t SetTextAlign = 0x012E;
constexpr std::uint16_t SelectObject = 0x012D;
constexpr std::uint16_t DeleteObject = 0x01F0;
constexpr std::uint16_t SetTextColor = 0x0209;
constexpr std::uint16_t SetWindowOrg = 0x020B;
constexpr std::uint16_t SetWindowExt = 0x020C;
constexpr std::uint16_t CreatePenIndirect = 0x02FA;
constexpr std::uint16_t CreateFontIndirect = 0x02FB;
constexpr std::uint16_t CreateBrushIndirect = 0x02FC;
constexpr std::uint16_t Polygon = 0x0324;
constexpr std::uint16_t Polyline = 0x0325;
constexpr std::uint16_t Rectangle = 0x041B;
constexpr std::uint16_t ExtTextOut = 0x0A32;
} // namespace Function

constexpr std::int16_t MapModeAnisotropic = 8;
constexpr std::int16_t BkModeTransparent = 1;

std::int16_t Clamp16(int v) {
    return static_cast<std::int16_t>(std::clamp(v, -32768, 32767));
}

void PutWord(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutDword(std::vector<std::uint8_t>& out, std::uint32_t v) {
    PutWord(out, static_cast<std::uint16_t>(v & 0xFFFF));
    PutWord(out, static_cast<std::uint16_t>(v >> 16));
}

// Byte by byte: g++ 12 takes an insert of an initialiser list here for an overflow when the code
// is position-independent (a known false alarm).
void PutColour(std::vector<std::uint8_t>& out, Rgb c) {
    for (const std::uint8_t byte : {c.R, c.G, c.B, std::uint8_t{0}})
        out.push_back(byte);
}

std::vector<std::int16_t> PointWords(const std::vector<WmfPoint>& points) {
    std::vector<std::int16_t> words{Clamp16(static_cast<int>(points.size()))};
    for (const auto& p : points) {
        words.push_back(Clamp16(p.X));
        words.push_back(Clamp16(p.Y));
    }
    return words;
}

} // namespace

WmfWriter::WmfWriter(int width, int height, int unitsPerInch)
    : width_(std::clamp(width, 1, 32767)), height_(std::clamp(height, 1, 32767)),
      unitsPerInch_(std::clamp(unitsPerInch, 1, 65535)) {
    Record(Function::SetMapMode, std::vector<std::int16_t>{MapModeAnisotropic});
    Record(Function::SetWindowOrg, std::vector<std::int16_t>{0, 0});
    Record(Function::SetWindowExt, std::vector<std::int16_t>{Clamp16(height_), Clamp16(width_)});
    Record(Function::SetBkMode, std::vector<std::int16_t>{BkModeTransparent});
    SetTextAlign(WmfTextAlign::BaselineLeft);
}

void WmfWriter::SetTextAlign(WmfTextAlign align) {
    Record(Function::SetTextAlign, std::vector<std::int16_t>{static_cast<std::int16_t>(align)});
}

void WmfWriter::Record(std::uint16_t function, const std::vector<std::int16_t>& words) {
    std::vector<std::uint8_t> bytes;
    for (auto w : words)
        PutWord(bytes, static_cast<std::uint16_t>(w));
    Record(function, bytes);
}

void WmfWriter::Record(std::uint16_t function, const std::vector<std::uint8_t>& bytes) {
    const auto words = static_cast<std::uint32_t>(3 + (bytes.size() + 1) / 2);
    PutDword(records_, words);
    PutWord(records_, function);
    records_.insert(records_.end(), bytes.begin(), bytes.end());
    if (bytes.size() % 2 != 0)
        records_.push_back(0);
    maxRecordWords_ = std::max(maxRecordWords_, words);
    ++recordCount_;
}

int WmfWriter::TakeSlot() {
    auto free = std::find(slots_.begin(), slots_.end(), false);
    if (free == slots_.end())
        free = slots_.insert(slots_.end(), false);
    *free = true;
    maxObjects_ = std::max(maxObjects_, slots_.size());
    return static_cast<int>(free - slots_.begin());
}

int WmfWriter::CreatePen(WmfPenStyle style, int width, Rgb colour) {
    std::vector<std::uint8_t> bytes;
    PutWord(bytes, static_cast<std::uint16_t>(style));
    PutWord(bytes, static_cast<std::uint16_t>(Clamp16(std::max(0, width))));
    PutWord(bytes, 0);
    PutColour(bytes, colour);
    Record(Function::CreatePenIndirect, bytes);
    return TakeSlot();
}

int WmfWriter::CreateSolidBrush(Rgb colour) {
    std::vector<std::uint8_t> bytes;
    PutWord(bytes, 0); // BS_SOLID
    PutColour(bytes, colour);
    PutWord(bytes, 0);
    Record(Function::CreateBrushIndirect, bytes);
    return TakeSlot();
}

int WmfWriter::CreateHollowBrush() {
    std::vector<std::uint8_t> bytes;
    PutWord(bytes, 1); // BS_NULL
    PutColour(bytes, Rgb{});
    PutWord(bytes, 0);
    Record(Function::CreateBrushIndirect, bytes);
    return TakeSlot();
}

int WmfWriter::CreateFont(int height, int escapement, int weight, bool italic, std::string_view faceName) {
    std::vector<std::uint8_t> bytes;
    PutWord(bytes, static_cast<std::uint16_t>(Clamp16(height)));
    PutWord(bytes, 0);
    PutWord(bytes, static_cast<std::uint16_t>(Clamp16(escapement)));
    PutWord(bytes, static_cast<std::uint16_t>(Clamp16(escapement)));
    PutWord(bytes, static_cast<std::uint16_t>(Clamp16(weight)));
    // italic, underline, strike-out, ANSI character set, default precisions, antialiased quality,
    // variable pitch and Swiss family
    bytes.insert(bytes.end(), {static_cast<std::uint8_t>(italic ? 1 : 0), 0, 0, 0, 0, 0, 4, 0x22});
    const std::string_view face = faceName.substr(0, 31);
    bytes.insert(bytes.end(), face.begin(), face.end());
    bytes.push_back(0);
    Record(Function::CreateFontIndirect, bytes);
    return TakeSlot();
}

void WmfWriter::SelectObject(int slot) {
    Record(Function::SelectObject, std::vector<std::int16_t>{Clamp16(slot)});
}

void WmfWriter::DeleteObject(int slot) {
    Record(Function::DeleteObject, std::vector<std::int16_t>{Clamp16(slot)});
    if (slot >= 0 && slot < static_cast<int>(slots_.size()))
        slots_[static_cast<std::size_t>(slot)] = false;
}

void WmfWriter::SetTextColour(Rgb colour) {
    std::vector<std::uint8_t> bytes;
    PutColour(bytes, colour);
    Record(Function::SetTextColor, bytes);
}

void WmfWriter::SetFillMode(WmfFillMode mode) {
    Record(Function::SetPolyFillMode, std::vector<std::int16_t>{static_cast<std::int16_t>(mode)});
}

void WmfWriter::Rectangle(int left, int top, int right, int bottom) {
    Record(Function::Rectangle,
           std::vector<std::int16_t>{Clamp16(bottom), Clamp16(right), Clamp16(top), Clamp16(left)});
}

void WmfWriter::Polygon(const std::vector<WmfPoint>& points) {
    if (points.size() >= 2)
        Record(Function::Polygon, PointWords(points));
}

void WmfWriter::Polyline(const std::vector<WmfPoint>& points) {
    if (points.size() >= 2)
        Record(Function::Polyline, PointWords(points));
}

void WmfWriter::TextOut(int x, int y, std::string_view text) {
    if (text.empty())
        return;
    text = text.substr(0, 32767);
    std::vector<std::uint8_t> bytes;
    PutWord(bytes, static_cast<std::uint16_t>(Clamp16(y)));
    PutWord(bytes, static_cast<std::uint16_t>(Clamp16(x)));
    PutWord(bytes, static_cast<std::uint16_t>(text.size()));
    PutWord(bytes, 0); // no clipping, no opaque background
    bytes.insert(bytes.end(), text.begin(), text.end());
    Record(Function::ExtTextOut, bytes);
}

std::vector<std::uint8_t> WmfWriter::Finish() const {
    std::vector<std::uint8_t> out;
    PutDword(out, PlaceableKey);
    PutWord(out, 0);
    for (int v : {0, 0, width_, height_})
        PutWord(out, static_cast<std::uint16_t>(Clamp16(v)));
    PutWord(out, static_cast<std::uint16_t>(unitsPerInch_));
    PutDword(out, 0);
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < 20; i += 2)
        checksum ^= WmfWord(out, i);
    PutWord(out, checksum);

    const std::uint32_t eofWords = 3;
    const auto totalWords = static_cast<std::uint32_t>(HeaderWords + records_.size() / 2 + eofWords);
    PutWord(out, 1); // in memory
    PutWord(out, HeaderWords);
    PutWord(out, 0x0300);
    PutDword(out, totalWords);
    PutWord(out, static_cast<std::uint16_t>(maxObjects_));
    PutDword(out, std::max(maxRecordWords_, eofWords));
    PutWord(out, 0);
    out.insert(out.end(), records_.begin(), records_.end());
    PutDword(out, eofWords);
    PutWord(out, Function::Eof);
    return out;
}

std::uint16_t WmfWord(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes.at(offset) | (bytes.at(offset + 1) << 8));
}

std::uint32_t WmfDword(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return WmfWord(bytes, offset) | (static_cast<std::uint32_t>(WmfWord(bytes, offset + 2)) << 16);
}
