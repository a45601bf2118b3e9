// Data files, own and device raw: a refused file leaves the measurement as it was; a loaded one
// is saved and reopened with the same records, has a subset of its vehicles marked (chosen by
// the input's bytes) and removed, is evaluated, and is saved and reopened again.
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    MeasurementData& data = fuzz::StartingMeasurement();
    const std::string before = fuzz::Snapshot(data);
    try {
        LoadDataBytes(std::string_view(reinterpret_cast<const char*>(bytes), size), "fuzz", data);
    } catch (const CoreError&) {
        fuzz::Check(fuzz::Snapshot(data) == before, "a refused load changed the measurement");
        return 0;
    }
    try {
        fuzz::SaveReopenAndCompare(data);
    } catch (const CoreError&) {
        fuzz::Fail("what was loaded could not be saved and reopened");
    }
    fuzz::MarkEraseAndCheck(data, {bytes, size});
    fuzz::EvaluateAsAUserWould(data);
    try {
        fuzz::SaveReopenAndCompare(data);
    } catch (const CoreError&) {
        fuzz::Fail("what was evaluated could not be saved and reopened");
    }
    return 0;
}
