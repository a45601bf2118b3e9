// Card text and binary files: the first byte chooses the kind, the rest is the file. A read
// replaces the measurement only as a whole; what it gives is saved and reopened, has a subset of
// its vehicles marked and removed, and is evaluated.
#include "FuzzSupport.h"

#include "cards/CardCommon.h"
#include "cards/CardFileReader.h"

#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    if (size < 1)
        return 0;
    const bool text = (bytes[0] & 1) == 0;
    const std::string file = fuzz::Scratch(text ? "card.txt" : "card.bin").string();
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes + 1), static_cast<std::streamsize>(size - 1));
    }
    MeasurementData& data = fuzz::StartingMeasurement();
    const std::string before = fuzz::Snapshot(data);
    try {
        const CardFilePreview preview = PrepareCardFile(file, data);
        // A binary file needs a start; take one near the end of what a file can hold now and then.
        const double start = (bytes[0] & 2) != 0 ? 2958465.99 : 46082.25;
        ReadCardFile(data, file, preview, text ? preview.FileStart : start);
        CompleteCardRead(data);
    } catch (const CoreError&) {
        fuzz::Check(fuzz::Snapshot(data) == before, "a refused card file changed the measurement");
        return 0;
    }
    try {
        fuzz::SaveReopenAndCompare(data);
    } catch (const CoreError&) {
        fuzz::Fail("a card read could not be saved and reopened");
    }
    fuzz::MarkEraseAndCheck(data, {bytes, size});
    fuzz::EvaluateAsAUserWould(data);
    return 0;
}
