#pragma once
// The card reader's side of the SmartMedia protocol, served from a card image (pages of 528
// bytes): "?" status, "a" amount of recorded data, "L" first page, "N" next page. Options make
// it behave like a reader without a card, a card without data, a card whose first entry is no
// time marker, a line that loses pages now and then, or a reader that does not answer.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct CardSimOptions {
    bool NoCard = false;    // "?" answers FF FF
    bool NoData = false;    // "a" answers 00 00 00
    bool NoMarker = false;  // the first entry is served as a vehicle
    bool Silent = false;    // nothing is ever answered
    int ShortPageEvery = 0; // every n-th page reply breaks off after ShortPageBytes (0: never)
    int ShortPageBytes = 300;
    std::optional<int> Entries; // announced entries; default: those recorded in the image
};

class CardReaderModel {
public:
    CardReaderModel(std::vector<std::uint8_t> pages, CardSimOptions options);

    // The bytes the reader sends back for a command byte.
    std::vector<std::uint8_t> Reply(std::uint8_t command);
    int PageReplies() const { return pageReplies_; }

private:
    std::vector<std::uint8_t> Page(std::size_t index) const;
    std::vector<std::uint8_t> PageReply(std::size_t index);

    std::vector<std::uint8_t> pages_;
    CardSimOptions options_;
    int entries_ = 0;
    std::size_t current_ = 0;
    bool lastPageBroken_ = false;
    int pageReplies_ = 0;
};

// A pseudo-terminal: the simulator serves the master side, the program opens the slave path.
struct PseudoTerminal {
    int Master = -1;
    int Slave = -1; // kept open so that the master does not see a hang-up between two openings
    std::string SlavePath;
};
std::optional<PseudoTerminal> OpenPseudoTerminal();
void ClosePseudoTerminal(PseudoTerminal& pty);

// Answers commands arriving on fd until stop is set (checked every 20 ms).
void ServeCardReader(int fd, CardReaderModel& model, const std::atomic<bool>& stop);
