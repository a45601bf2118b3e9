// Record-filter conditions, typed or from the dialog's fields: a condition marks vehicles, and
// removing the marked ones removes exactly those counted as marked.
#include "FuzzSupport.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(bytes), size);
    std::vector<std::string> texts;
    for (std::size_t start = 0; start <= input.size();) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        texts.emplace_back(input.substr(start, end - start));
        start = end + 1;
    }
    MarkCondition condition;
    try {
        condition = MarkConditionFromTexts(texts);
    } catch (const CoreError&) {
        try {
            condition =
                MarkConditionFromFields(size > 0 ? bytes[0] % 4 : 0, texts[0], size > 1 ? bytes[1] % 4 : 0,
                                        texts.size() > 1 ? texts[1] : "", size > 2 ? bytes[2] % 3 : 0);
        } catch (const CoreError&) {
            return 0;
        }
    }
    auto data = std::make_unique<MeasurementData>();
    data->Vehicles.EnsureSize(256);
    for (int n = 1; n <= 256; ++n)
        data->Vehicles[n] = VehicleRecord{46082.25 + n / 1440.0,
                                          static_cast<std::uint8_t>(n - 1),
                                          static_cast<std::uint8_t>(256 - n),
                                          n % 3 == 0 ? '2' : '1',
                                          {},
                                          0,
                                          {}};
    data->LoadedCount = 256;
    data->DataMode = DataMode::SingleVehicle;
    CopyVehiclesToWork(*data);
    MarkVehicles(*data, condition, WholeWorkingSet(*data));
    for (int n = 1; n <= 256; ++n)
        fuzz::Check((data->WorkVehicles[n].Marked == 1) ==
                        PassesMarkCondition(data->WorkVehicles[n], condition),
                    "a vehicle was marked against its condition");
    fuzz::MarkEraseAndCheck(*data, {});
    return 0;
}
