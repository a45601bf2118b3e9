#include "base/CoreError.h"
#include "charts/ChartPictureFile.h"
#include "charts/WmfWriter.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct WmfRecord {
    std::size_t Offset;
    std::uint32_t Words;
    std::uint16_t Function;
};

// Walks the records after the two headers; stops at the end record.
std::vector<WmfRecord> Records(const std::vector<std::uint8_t>& file) {
    std::vector<WmfRecord> records;
    std::size_t at = 22 + 18;
    while (at + 6 <= file.size()) {
        const WmfRecord record{at, WmfDword(file, at), WmfWord(file, at + 4)};
        records.push_back(record);
        if (record.Function == 0 || record.Words < 3)
            break;
        at += record.Words * 2;
    }
    return records;
}

ChartPictureType TypeOf(const char* name) {
    return ChartPictureTypeOf(name);
}

} // namespace

TEST(WmfWriter, HeadersDescribeTheRecordsThatFollow) {
    WmfWriter wmf(1200, 800, 96);
    const int pen = wmf.CreatePen(WmfPenStyle::Solid, 2, Rgb{255, 0, 0});
    wmf.SelectObject(pen);
    wmf.Rectangle(10, 20, 110, 220);
    wmf.Polygon({{0, 0}, {40000, 5}, {-40000, 7}}); // clamped to 16 bits
    wmf.TextOut(5, 6, "abc");                       // odd length: padded to whole words
    const auto file = wmf.Finish();

    // Placeable header: key, bounding box, units per inch and the checksum over its first ten words.
    EXPECT_EQ(WmfDword(file, 0), 0x9AC6CDD7u);
    EXPECT_EQ(WmfWord(file, 10), 1200);
    EXPECT_EQ(WmfWord(file, 12), 800);
    EXPECT_EQ(WmfWord(file, 14), 96);
    std::uint16_t checksum = 0;
    for (std::size_t i = 0; i < 20; i += 2)
        checksum ^= WmfWord(file, i);
    EXPECT_EQ(WmfWord(file, 20), checksum);

    // Metafile header: size in words of everything after the placeable header, the largest record.
    EXPECT_EQ(WmfWord(file, 22), 1);
    EXPECT_EQ(WmfWord(file, 24), 9);
    EXPECT_EQ(WmfWord(file, 26), 0x0300);
    EXPECT_EQ(WmfDword(file, 28) * 2, file.size() - 22);
    EXPECT_EQ(WmfWord(file, 32), 1); // one object at most

    const auto records = Records(file);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().Function, 0);
    EXPECT_EQ(records.back().Offset + 6, file.size());
    std::uint32_t largest = 0;
    std::map<std::uint16_t, WmfRecord> byFunction;
    for (const auto& r : records) {
        largest = std::max(largest, r.Words);
        byFunction.emplace(r.Function, r);
    }
    EXPECT_EQ(WmfDword(file, 34), largest);
    EXPECT_EQ(static_cast<int>(records.size()), wmf.RecordCount() + 1);

    const auto& window = byFunction.at(0x020C); // window extent: height, then width
    EXPECT_EQ(WmfWord(file, window.Offset + 6), 800);
    EXPECT_EQ(WmfWord(file, window.Offset + 8), 1200);
    const auto& rect = byFunction.at(0x041B); // bottom, right, top, left
    EXPECT_EQ(WmfWord(file, rect.Offset + 6), 220);
    EXPECT_EQ(WmfWord(file, rect.Offset + 12), 10);
    const auto& polygon = byFunction.at(0x0324);
    EXPECT_EQ(WmfWord(file, polygon.Offset + 6), 3);
    EXPECT_EQ(WmfWord(file, polygon.Offset + 12), 32767);
    EXPECT_EQ(WmfWord(file, polygon.Offset + 16), 0x8000);
    const auto& text = byFunction.at(0x0A32); // y, x, length, options, text
    EXPECT_EQ(text.Words, 3u + 4u + 2u);
    EXPECT_EQ(WmfWord(file, text.Offset + 6), 6);
    EXPECT_EQ(WmfWord(file, text.Offset + 8), 5);
    EXPECT_EQ(WmfWord(file, text.Offset + 10), 3);
    EXPECT_EQ(std::string(file.begin() + static_cast<long>(text.Offset) + 14,
                          file.begin() + static_cast<long>(text.Offset) + 17),
              "abc");
    const auto& penRecord = byFunction.at(0x02FA);
    EXPECT_EQ(WmfWord(file, penRecord.Offset + 8), 2); // width
    EXPECT_EQ(file[penRecord.Offset + 12], 255);       // red
}

TEST(WmfWriter, ObjectsTakeTheLowestFreeSlot) {
    WmfWriter wmf(10, 10, 96);
    EXPECT_EQ(wmf.CreatePen(WmfPenStyle::Solid, 1, Rgb{}), 0);
    EXPECT_EQ(wmf.CreateSolidBrush(Rgb{1, 2, 3}), 1);
    EXPECT_EQ(wmf.CreateFont(-12, 900, 400, false, "Arial"), 2);
    wmf.DeleteObject(0);
    EXPECT_EQ(wmf.CreateHollowBrush(), 0);
    wmf.DeleteObject(1);
    wmf.DeleteObject(2);
    EXPECT_EQ(wmf.CreatePen(WmfPenStyle::Null, 0, Rgb{}), 1);
    const auto file = wmf.Finish();
    EXPECT_EQ(WmfWord(file, 32), 3); // three objects at once at most

    // The font record carries height, escapement and the face name, ended by a zero.
    for (const auto& r : Records(file))
        if (r.Function == 0x02FB) {
            EXPECT_EQ(static_cast<std::int16_t>(WmfWord(file, r.Offset + 6)), -12);
            EXPECT_EQ(WmfWord(file, r.Offset + 10), 900);
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[r.Offset + 6 + 18])), "Arial");
        }
}

TEST(ChartPictureFile, TypeComesFromTheThreeCharactersAfterTheLastDot) {
    EXPECT_EQ(TypeOf("chart.wmf"), ChartPictureType::Wmf);
    EXPECT_EQ(TypeOf("CHART.BMP"), ChartPictureType::Bmp);
    EXPECT_EQ(TypeOf("chart.wmfx"), ChartPictureType::Wmf);
    EXPECT_EQ(TypeOf("my.old.chart.Png"), ChartPictureType::Png);
    EXPECT_EQ(TypeOf("/tmp/x/chart.svg"), ChartPictureType::Svg);
    EXPECT_EQ(TypeOf("C:\\Daten\\chart.pdf"), ChartPictureType::Pdf);

    for (const char* name : {"chart", "chart.", "chart.jpg", "chart.wm", "/data.wmf/chart"}) {
        try {
            TypeOf(name);
            ADD_FAILURE() << name << " was accepted";
        } catch (const CoreError& error) {
            EXPECT_EQ(error.textNumber(), 490) << name;
            EXPECT_NE(std::string(error.what()).find(".wmf, .bmp"), std::string::npos);
        }
    }
}
