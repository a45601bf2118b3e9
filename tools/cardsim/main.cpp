// korvelan2-cardsim: a SmartMedia card reader on a pseudo-terminal, served from a card image.
// Prints the path of the terminal to open and answers until it is ended (SIGINT or SIGTERM).

#include "CardReaderSimulator.h"

#include <CLI/CLI.hpp>

#include <csignal>
#include <fstream>
#include <iostream>
#include <iterator>

namespace {
std::atomic<bool> stopRequested{false};
void RequestStop(int) {
    stopRequested = true;
}
} // namespace

int main(int argc, char** argv) {
    CLI::App app{"korvelan2-cardsim: simulates a SmartMedia card reader on a pseudo-terminal."};
    std::string imagePath;
    CardSimOptions options;
    int entries = -1;
    app.add_option("IMAGE", imagePath, "card image: pages of 528 bytes")->required();
    app.add_flag("--no-card", options.NoCard, "the reader reports FF FF");
    app.add_flag("--no-data", options.NoData, "the card holds no recorded data");
    app.add_flag("--no-marker", options.NoMarker, "the first entry is a vehicle, not a time marker");
    app.add_flag("--silent", options.Silent, "the reader never answers");
    app.add_option("--short-pages", options.ShortPageEvery, "every n-th page breaks off after 300 bytes");
    app.add_option("--entries", entries, "announced number of entries (default: those in the image)");
    CLI11_PARSE(app, argc, argv);
    if (entries >= 0)
        options.Entries = entries;

    std::ifstream in(imagePath, std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << imagePath << '\n';
        return 1;
    }
    std::vector<std::uint8_t> pages((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CardReaderModel model(std::move(pages), options);

    auto pty = OpenPseudoTerminal();
    if (!pty) {
        std::cerr << "cannot open a pseudo-terminal\n";
        return 1;
    }
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    std::cout << pty->SlavePath << std::endl;
    ServeCardReader(pty->Master, model, stopRequested);
    ClosePseudoTerminal(*pty);
    return 0;
}
