// The SmartMedia reader: a serial port that answers every command with the next fuzz bytes. The
// poll and the read must end (no endless retries) and their vehicles evaluate, save and reopen.
#include "FuzzSupport.h"

#include "cards/CardSerialPort.h"
#include "cards/SmartMediaReader.h"

#include <algorithm>
#include <span>

namespace {
class ReplayingPort : public CardSerialPort {
public:
    explicit ReplayingPort(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool Open(const std::string&) override { return true; }
    void Close() override {}
    bool IsOpen() const override { return true; }
    void SetDtr(bool) override {}
    void SetRts(bool) override {}
    void Purge() override {}
    bool Write(std::span<const std::uint8_t>, std::chrono::milliseconds) override {
        ++writes_;
        return true;
    }
    // Each reply takes its length from the next byte (so short and missing replies occur), then
    // that many bytes.
    std::size_t Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds,
                     std::chrono::milliseconds) override {
        if (writes_ > 100000)
            fuzz::Fail("the reader was asked without end");
        if (bytes_.empty())
            return 0;
        const std::size_t wanted = bytes_[0] >= 0x80 ? buffer.size() : bytes_[0] % 8;
        bytes_ = bytes_.subspan(1);
        const std::size_t n = std::min({wanted, buffer.size(), bytes_.size()});
        std::copy_n(bytes_.begin(), n, buffer.begin());
        bytes_ = bytes_.subspan(n);
        return n;
    }
    void Pause(std::chrono::microseconds) override {}

private:
    std::span<const std::uint8_t> bytes_;
    long writes_ = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static const LanguageTexts texts;
    const double today = 46082.0;
    ReplayingPort port({bytes, size});
    PollReader(port, today, texts);
    SmartMediaReadResult result;
    try {
        int pages = 0;
        result =
            ReadSmartMediaCard(port, today, texts, [&](const SmartMediaProgress&) { return ++pages > 5000; });
    } catch (const CoreError&) {
        return 0;
    }
    SmartMediaCompletionText(result, texts);
    MeasurementData& data = fuzz::StartingMeasurement();
    CommitSmartMediaRead(data, result);
    try {
        fuzz::SaveReopenAndCompare(data);
    } catch (const CoreError&) {
        fuzz::Fail("a card read could not be saved and reopened");
    }
    fuzz::MarkEraseAndCheck(data, {bytes, size});
    fuzz::EvaluateAsAUserWould(data);
    return 0;
}
