// The account of a run: what every line was taken as, and each problem found on the way, with
// a stable code, the place of the word it is about and a message in Chinese. The scoring never
// reads it; script/problems.cpp writes it from what the handlers report they did.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "scoring/limits.hpp"

namespace quillon {

// The account lists this many problems and counts the rest by code.
inline constexpr std::size_t kMaxListedProblems = 1000;

enum class LineKind : std::uint8_t { Comment, LevelSetUp, LayerLine, UnitLine, CountForm, Report, Echo };

std::string_view LineKindName(LineKind kind);  // "comment", "level", "layer", "unit", ...

// Every run starts at this level, until a line sets another.
inline constexpr int kResetLevel = 3;

// What the interpreter did with a row of the script: what the views colour and explain it by.
struct LineRecord {
    LineKind kind = LineKind::Comment;
    std::uint8_t level = 0;  // in force once the row was read
    // The unit a unit line stored into (or would have, at a level that assesses it), or the
    // layer of a layer line; 0 when the line addressed none.
    std::uint8_t layer = 0;
    std::uint8_t unit = 0;

    bool operator==(const LineRecord&) const = default;
};

// Stable problem codes; the README lists them.
namespace problem {
inline constexpr std::string_view LevelDigit = "Q101";         // mpinit= with a level outside 1 to 4
inline constexpr std::string_view NotHexadecimal = "Q102";     // argument or flag word not hexadecimal
inline constexpr std::string_view ArgumentReadInPart = "Q103";  // mpout 30100x read as 30100
inline constexpr std::string_view LayerDigit = "Q201";         // @@ with a layer outside 1 to 8
inline constexpr std::string_view ExtraLayerWords = "Q202";    // more words than the layer has units
inline constexpr std::string_view NotANumber = "Q203";         // a score word that is not a number
inline constexpr std::string_view LayerUnitNotAssessed = "Q204";  // the level does not assess the unit
inline constexpr std::string_view MinusMeansNotApplicable = "Q205";  // "-0.5" taken as not applicable
inline constexpr std::string_view LayerWordCut = "Q206";       // a layer word longer than 199 bytes
inline constexpr std::string_view LayerWordReadInPart = "Q207";  // 0.5abc read as 0.5, *0.5 as *
inline constexpr std::string_view MalformedUnitCommand = "Q301";  // $$ not followed by L.U
inline constexpr std::string_view UnitOutOfRange = "Q302";     // layer or unit number out of range
inline constexpr std::string_view UnitNotAssessed = "Q303";    // no such unit at this level
inline constexpr std::string_view ObjectsCutShort = "Q304";    // an unrecognised token ends the objects
inline constexpr std::string_view TooManyObjects = "Q305";     // tokens beyond the sixteenth ignored
inline constexpr std::string_view MaxIgnored = "Q306";         // a max( token that is not counted
inline constexpr std::string_view NoObjectCounted = "Q307";    // the unit's layer leaves the total
inline constexpr std::string_view TokenCut = "Q308";           // an object token longer than 63 bytes
inline constexpr std::string_view UnknownWeight = "Q309";      // VVX*3: no weight suffix
inline constexpr std::string_view ObjectReadInPart = "Q310";   // VVVXXX read as VVV, VVV--- as ---
inline constexpr std::string_view NumberReadInPart = "Q311";   // 0.5abc read as 0.5, 0x10 as 0
inline constexpr std::string_view UnitCommandReadInPart = "Q312";  // $$4.2x read as $$4.2
inline constexpr std::string_view ScoreOutOfRange = "Q401";    // a stored score above 1 or below 0
inline constexpr std::string_view CommandAfterBlank = "Q501";  // a blank before a command word
inline constexpr std::string_view CommandWrongCase = "Q502";   // MPOUT, Mpinit=, ...
inline constexpr std::string_view GluedByControlBytes = "Q503";  // a TAB joined the command word to its words
inline constexpr std::string_view LineCut = "Q504";            // a line longer than 1999 bytes
inline constexpr std::string_view EndsAtNul = "Q505";          // a NUL byte ends the script early
inline constexpr std::string_view ByteOrderMarkInside = "Q506";  // U+FEFF inside the text
inline constexpr std::string_view ScriptCut = "Q507";          // a script longer than 16,777,215 bytes
inline constexpr std::string_view ReportCut = "Q508";          // the report reached its limit
inline constexpr std::string_view FullWidth = "Q509";          // ｍｐｏｕｔ, ０.５, 0。5
inline constexpr std::string_view SpaceLike = "Q510";          // U+3000, NBSP or a zero-width space
inline constexpr std::string_view CommaBetweenWords = "Q511";  // @@1 0.5,1,0.5
inline constexpr std::string_view NoCommand = "Q512";          // a script with no command at all
inline constexpr std::string_view ReplacementCharacter = "Q513";  // U+FFFD: bytes that were no character
}  // namespace problem

// Stable note codes: where a script departs from the official scoring rules. Notes never mean
// the script was misread; the report stays as it is.
namespace note {
inline constexpr std::string_view DNotMet = "Q601";            // XVV, XVX, XXV: the rules give 0
inline constexpr std::string_view RkCannotApply = "Q602";      // *1.2 or *1.5 where no Rk applies
inline constexpr std::string_view RaCannotApply = "Q603";      // *0.5 or *0.2 on a code whose A is met
inline constexpr std::string_view ObjectAboveOne = "Q604";     // 0.7*1.5 gives 1.05
inline constexpr std::string_view MaxCountedPartly = "Q605";   // max( is partly compliant at 1 too
}  // namespace note

struct Problem {
    std::size_t line;       // as an editor counts the script's lines, from 1
    std::size_t offset;     // where the line's own bytes start in the script text
    std::string_view code;  // one of the codes above
    std::string message;
    LineKind takenAs = LineKind::Comment;  // what the line was taken as
    // The word the problem is about, as an editor counts columns (characters, from 1; the end
    // is the column after the word), and as bytes of the script text. 0, 0: the whole line.
    std::size_t column = 0;
    std::size_t endColumn = 0;
    std::size_t wordOffset = 0;
    std::size_t wordLength = 0;

    bool operator==(const Problem&) const = default;
};

// The problem a report cut at its limit is told by, in words.
std::string ReportCutMessage();

struct ScriptAccount {
    // Problems and notes are listed from line listFrom on, earlier ones only counted; listedUntil
    // is the first line from there whose problems or notes were not all listed.
    std::size_t listFrom = 1;
    std::size_t listedUntil = SIZE_MAX;
    // Entry i is row i + 1 as an editor counts them (Problem::line). A row that is no line of its
    // own (the blank row between two LFs starts the next line) is a comment.
    std::vector<LineRecord> lines;
    std::vector<Problem> problems;  // in line order, at most kMaxListedProblems
    std::map<std::string_view, std::size_t> unlisted;  // the problems past those, by code
    std::vector<Problem> notes;     // the same for notes (提示), kept apart from the problems
    std::size_t unlistedNotes = 0;

    // Room for the per-line records of a script of this many bytes, so that they are seldom
    // moved while they grow.
    void reserveLines(std::size_t scriptBytes);
    void add(Problem problem);
    std::size_t unlistedCount() const;
};

// What an editor's row is taken as on its own, with the unit it addresses: the record a run
// would keep for it, but for the level, which only the rows before decide. The row is as it
// stands, control bytes and all; it ends at a line end.
LineRecord ReadLineAlone(std::string_view row);

}  // namespace quillon
