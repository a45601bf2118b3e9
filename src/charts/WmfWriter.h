#pragma once
// Windows metafiles written record by record: a placeable header (bounding box and units per inch,
// so that programs show the picture at its size), the metafile header, GDI drawing records and the
// end record. The picture uses an anisotropic mapping with the window set to the picture's size.

#include "charts/ChartDescription.h"

#include <cstdint>
#include <string_view>
#include <vector>

struct WmfPoint {
    int X = 0;
    int Y = 0;
};

enum class WmfPenStyle : std::uint16_t { Solid = 0, Dash = 1, Dot = 2, Null = 5 };
enum class WmfFillMode : std::uint16_t { Alternate = 1, Winding = 2 };
// Text alignment flags: the point of TextOut is on the baseline, at the text's left end, centre
// or right end.
enum class WmfTextAlign : std::uint16_t {
    BaselineLeft = 24,
    BaselineRight = 24 | 2,
    BaselineCentre = 24 | 6
};

class WmfWriter {
public:
    // A picture of width x height logical units, unitsPerInch of them to the inch. Coordinates are
    // 16-bit: values outside -32768..32767 are clamped.
    WmfWriter(int width, int height, int unitsPerInch);

    // Objects go into the lowest free slot of the object table; the slot number is returned.
    int CreatePen(WmfPenStyle style, int width, Rgb colour);
    int CreateSolidBrush(Rgb colour);
    int CreateHollowBrush();
    // height < 0: character height; escapement in tenths of a degree, counter-clockwise.
    int CreateFont(int height, int escapement, int weight, bool italic, std::string_view faceName);
    void SelectObject(int slot);
    void DeleteObject(int slot);

    void SetTextColour(Rgb colour);
    void SetFillMode(WmfFillMode mode);
    void SetTextAlign(WmfTextAlign align); // BaselineLeft until changed
    void Rectangle(int left, int top, int right, int bottom);
    void Polygon(const std::vector<WmfPoint>& points);
    void Polyline(const std::vector<WmfPoint>& points);
    // Single-byte (Windows-1252) text anchored at (x, y) as the text alignment says.
    void TextOut(int x, int y, std::string_view text);

    int RecordCount() const { return recordCount_; }
    // The whole file: headers, the records so far and the end record.
    std::vector<std::uint8_t> Finish() const;

private:
    int width_;
    int height_;
    int unitsPerInch_;
    std::vector<std::uint8_t> records_;
    std::vector<bool> slots_;
    std::size_t maxObjects_ = 0;
    std::uint32_t maxRecordWords_ = 0;
    int recordCount_ = 0;

    void Record(std::uint16_t function, const std::vector<std::int16_t>& words);
    void Record(std::uint16_t function, const std::vector<std::uint8_t>& bytes);
    int TakeSlot();
};

// Little-endian field access for readers and tests.
std::uint16_t WmfWord(const std::vector<std::uint8_t>& bytes, std::size_t offset);
std::uint32_t WmfDword(const std::vector<std::uint8_t>& bytes, std::size_t offset);
