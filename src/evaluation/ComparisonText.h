#pragma once
// The comparison of two measurements as fixed-width text in the program's language.

#include "data/LocaleFormat.h"
#include "evaluation/Comparison.h"

#include <string>
#include <vector>

class LanguageTexts;

// Language-text numbers of the comparison (650 is the message of Comparison).
namespace ComparisonText {
inline constexpr int Title = 651;
inline constexpr int BeforeLabel = 652;
inline constexpr int AfterLabel = 653;
inline constexpr int ClassBasedNote = 654;
inline constexpr int SwappedNote = 655;
inline constexpr int AdtTitle = 656;
inline constexpr int AdtHeader = 657;
inline constexpr int NoAdtNote = 658;
inline constexpr int RawTitle = 659;
inline constexpr int FigureHeader = 660;
inline constexpr int MatchedTitle = 661;
inline constexpr int DroppedHours = 662;
inline constexpr int FreeFlowV85 = 663;
inline constexpr int ShareAbove = 664;
inline constexpr int Clear = 665;
inline constexpr int NotClear = 666;
inline constexpr int NoVehiclesOnASide = 667;
inline constexpr int MethodNote = 668;
inline constexpr int MatchedNote = 669;
inline constexpr int VehiclesLabel = 670;
inline constexpr int NoCommonHour = 671;
} // namespace ComparisonText

// What the text says about each measurement besides its figures.
struct ComparedFile {
    std::string Name; // file name without its folder
    std::string Comment;
};

std::vector<std::string> ComparisonLines(const Comparison& comparison, const ComparedFile& before,
                                         const ComparedFile& after, const LanguageTexts& texts,
                                         const LocaleFormat& locale = SystemLocaleFormat());
