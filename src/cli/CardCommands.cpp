// card, smcard and import: a measurement from an MM/SD card file, from a SmartMedia card through
// the card reader, or from a Pelo file, saved as an own data file.

#include "base/Cp1252.h"
#include "base/TextNames.h"
#include "cards/CardCommon.h"
#include "cards/CardFileReader.h"
#include "cards/PeloImport.h"
#include "cards/SmartMediaReader.h"
#include "cli/CliRun.h"
#include "cli/Commands.h"
#include "cli/DrawingPart.h"
#include "data/DataFileWriter.h"
#include "data/DateTime.h"
#include "data/TextFormat.h"

#include <atomic>
#include <csignal>
#include <iostream>
#include <memory>
#include <optional>

namespace {
// "dd.mm.yyyy hh:mm:ss" or "dd.mm.yyyy" as a day count.
std::optional<double> ParseDateTime(const std::string& text) {
    const auto number = [&](std::size_t at, std::size_t digits) -> std::optional<int> {
        if (at + digits > text.size())
            return std::nullopt;
        for (std::size_t i = at; i < at + digits; ++i)
            if (text[i] < '0' || text[i] > '9')
                return std::nullopt;
        return StrToIntStrict(text.substr(at, digits));
    };
    const bool withTime = text.size() == 19;
    if ((text.size() != 10 && !withTime) || text[2] != '.' || text[5] != '.')
        return std::nullopt;
    if (withTime && (text[10] != ' ' || text[13] != ':' || text[16] != ':'))
        return std::nullopt;
    const auto day = number(0, 2), month = number(3, 2), year = number(6, 4);
    const auto hour = withTime ? number(11, 2) : std::optional(0);
    const auto minute = withTime ? number(14, 2) : std::optional(0);
    const auto second = withTime ? number(17, 2) : std::optional(0);
    if (!day || !month || !year || !hour || !minute || !second)
        return std::nullopt;
    return TryEncodeDateTime(*year, *month, *day, *hour, *minute, *second);
}

void SetComment(EvaluationContext& run, const std::optional<std::string>& comment) {
    if (comment)
        run.data.Comment = Utf8Left(*comment, MaxCommentLength);
}

struct CardOptions {
    std::string File;
    std::string Start;
    std::string Output;
    std::optional<std::string> Comment;
};

void ReadCard(CliContext& context, const CardOptions& options) {
    EvaluationContext run;
    StartRun(context, run);
    const CardFilePreview preview = PrepareCardFile(options.File, run.data);
    std::optional<double> start;
    if (!options.Start.empty()) {
        start = ParseDateTime(options.Start);
        if (!start)
            UsageError("--start: expected \"dd.mm.yyyy hh:mm:ss\", got \"" + options.Start + "\"");
    } else if (preview.Kind == CardFileKind::Text) {
        start = preview.FileStart; // the card's own start
    } else {
        UsageError(CoreError(ProgramMessage::StartRequired).Message(context.texts));
    }
    ReadCardFile(run.data, options.File, preview, *start);
    CompleteCardRead(run.data);
    SetComment(run, options.Comment);
    SaveVehicleList(options.Output, run.data, SaveScope::All);
}

struct SmartMediaOptions {
    std::string Port;
    std::string Output;
    std::optional<std::string> Comment;
    std::string Today;
};

std::atomic<bool> interrupted{false};
void Interrupt(int) {
    interrupted = true;
}

void ReadSmartMedia(CliContext& context, const SmartMediaOptions& options) {
    EvaluationContext run;
    StartRun(context, run);
    double today = TodayDayCount();
    if (!options.Today.empty()) {
        const auto given = ParseDateTime(options.Today);
        if (!given || options.Today.size() != 10)
            UsageError("--today: expected \"dd.mm.yyyy\", got \"" + options.Today + "\"");
        today = *given;
    }

    const std::unique_ptr<CardSerialPort> serialPort = LoadDrawingPart().NewCardSerialPort();
    CardSerialPort& port = *serialPort;
    if (!port.Open(options.Port))
        throw CoreError::WithText(context.texts[Text::PortCannotBeOpened] + " " + options.Port);
    RaiseControlLines(port);

    const SmartMediaPoll poll = PollReader(port, today, context.texts);
    std::cerr << poll.StatusLine << '\n';
    if (!poll.StartLine.empty())
        std::cerr << poll.StartLine << '\n';
    if (poll.Status != SmartMediaPoll::State::Ready)
        throw CoreError::WithText(poll.Status == SmartMediaPoll::State::NoTimeMarker ? poll.StartLine
                                                                                     : poll.StatusLine);

    // Ctrl+C ends the read like "Abbruch": what was read so far is saved.
    interrupted = false;
    const auto previous = std::signal(SIGINT, Interrupt);
    const SmartMediaReadResult result = ReadSmartMediaCard(
        port, today, context.texts,
        [](const SmartMediaProgress& p) {
            std::cerr << p.RemainingLine << '\n';
            return interrupted.load();
        },
        [](const SmartMediaProgress& p) { std::cerr << p.FailedLine << '\n'; });
    std::signal(SIGINT, previous);
    port.Close();

    CommitSmartMediaRead(run.data, result);
    std::cerr << SmartMediaCompletionText(result, context.texts) << '\n';
    SetComment(run, options.Comment);
    SaveVehicleList(options.Output, run.data, SaveScope::All);
}

void ImportPelo(CliContext& context, const std::string& file, const std::string& output) {
    EvaluationContext run;
    StartRun(context, run);
    ImportPeloFile(run.data, file);
    SaveIntervalList(output, run.data, SaveScope::All, 1);
}
} // namespace

void RegisterCardCommands(CLI::App& app, CliContext& context) {
    auto card = std::make_shared<CardOptions>();
    CLI::App* cardCommand =
        app.add_subcommand("card", "read an MM/SD card file (.txt or .bin) and save it as .lng");
    cardCommand->add_option("CARDFILE", card->File, "card text or binary file")->required();
    cardCommand->add_option("--start", card->Start,
                            "start of the measurement, \"dd.mm.yyyy hh:mm:ss\" (binary files need it)");
    cardCommand->add_option("-o", card->Output, "own data file to write")->required();
    cardCommand->add_option("--comment", card->Comment, "the measurement's comment (at most 78 characters)");
    cardCommand->callback([&context, card] { ReadCard(context, *card); });

    auto smartMedia = std::make_shared<SmartMediaOptions>();
    CLI::App* smcard =
        app.add_subcommand("smcard", "read a SmartMedia card through the card reader and save it");
    smcard->add_option("PORT", smartMedia->Port, "serial port: a device path or a port name")->required();
    smcard->add_option("-o", smartMedia->Output, "own data file to write")->required();
    smcard->add_option("--comment", smartMedia->Comment, "the measurement's comment (at most 78 characters)");
    smcard->add_option("--today", smartMedia->Today, "date for the year rules instead of today, dd.mm.yyyy");
    smcard->callback([&context, smartMedia] { ReadSmartMedia(context, *smartMedia); });

    auto pelo = std::make_shared<std::pair<std::string, std::string>>();
    CLI::App* import = app.add_subcommand("import", "import a Pelo file and save its intervals as .sht");
    import->add_option("PELOFILE", pelo->first, "Pelo file")->required();
    import->add_option("-o", pelo->second, "own data file to write")->required();
    import->callback([&context, pelo] { ImportPelo(context, pelo->first, pelo->second);
});
}
