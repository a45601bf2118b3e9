// Pelo files: a refused file changes nothing; an import is evaluated, saved and reopened.
#include "FuzzSupport.h"

#include "cards/PeloImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    MeasurementData& data = fuzz::StartingMeasurement();
    const std::string before = fuzz::Snapshot(data);
    try {
        const PeloImport import = ParsePeloFile(std::string_view(reinterpret_cast<const char*>(bytes), size));
        CommitPeloImport(data, import);
    } catch (const CoreError&) {
        fuzz::Check(fuzz::Snapshot(data) == before, "a refused Pelo file changed the measurement");
        return 0;
    }
    try {
        fuzz::SaveReopenAndCompare(data);
    } catch (const CoreError&) {
        fuzz::Fail("an import could not be saved and reopened");
    }
    fuzz::EvaluateAsAUserWould(data);
    return 0;
}
