#pragma once
// A serial port wired straight to the simulated card reader: what is written is answered at
// once, waits only add up. It records the commands and the waits that went before each reply.

#include "CardReaderSimulator.h"
#include "cards/CardSerialPort.h"

#include <deque>
#include <string>

class ModelSerialPort : public CardSerialPort {
public:
    explicit ModelSerialPort(CardReaderModel& model) : model_(model) {}

    bool Open(const std::string&) override { return open_ = true; }
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    void SetDtr(bool) override {}
    void SetRts(bool) override {}
    void Purge() override { received_.clear(); }
    bool Write(std::span<const std::uint8_t> bytes, std::chrono::milliseconds) override {
        for (const auto b : bytes) {
            commands += static_cast<char>(b);
            const auto reply = model_.Reply(b);
            received_.insert(received_.end(), reply.begin(), reply.end());
        }
        return true;
    }
    std::size_t Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds,
                     std::chrono::milliseconds) override {
        std::size_t n = 0;
        while (n < buffer.size() && !received_.empty()) {
            buffer[n++] = received_.front();
            received_.pop_front();
        }
        return n;
    }
    void Pause(std::chrono::microseconds duration) override { waited += duration; }

    std::string commands;
    std::chrono::microseconds waited{0};

private:
    CardReaderModel& model_;
    std::deque<std::uint8_t> received_;
    bool open_ = false;
};
