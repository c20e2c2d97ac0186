// The .OLE project file: writer, validation pass and reading pass.
#pragma once
#include "catalog/FixtureType.h"
#include "model/Document.h"
#include "ui/Services.h"

#include <optional>
#include <map>
#include <string>
#include <vector>

namespace model {

inline constexpr const char* kMsgCannotRead = "ファイルが読み込めません";
inline constexpr const char* kMsgCannotWrite = "ファイルに書き込みできません";
inline constexpr const char* kMsgMalformed = "ORDIVANﾌｧｲﾙではないか、破壊されています。";
inline constexpr const char* kTitleError = "エラー";
inline constexpr const char* kTitleReadError = "読み込みエラー";

// Caps that keep a hostile file from exhausting memory; far beyond any real plan.
inline constexpr int kMaxRecordsPerSection = 1000000;

// Everything a project file holds, parsed and checked, before it touches the open plan.
struct ProjectContent {
    std::string tenDakaText;
    std::int32_t tenDaka = 0;
    float mmPerPixel = 0;
    std::int32_t scaleDenominator = 0;
    std::string projectName;
    std::vector<std::pair<int, catalog::BunpuHinban>> types;  // slot, record (placedCount 0)
    std::vector<LineRecord> lines;
    std::vector<KiguRecord> kigu;
    std::vector<HasiraRecord> hasira;
    std::vector<AreaRecord> areas;
    // The file's own bytes of every text that would not be written back as it was read (a lone lead
    // byte, an unassigned code, an NEC-selected character), by the text as it reads.
    std::map<std::string, std::string> spellings;
    RoomRecord room;  // the defaults, off, when the file has no ROOM section
};

enum class ParseError { None, CannotOpen, Malformed, NoMemory, HeightNotPositive, HeightNotMm };

// Beyond this many pixels the plan's drawing surface (and the grid with it) would outgrow any sensible
// memory budget: a wall to the end of the coordinates, a huge arc, a fixture far away.
inline constexpr long long kMaxSurfacePixels = 64LL * 1024 * 1024;
bool surfaceTooLarge(std::int32_t width, std::int32_t height);
std::string surfaceRefusal(std::int32_t width, std::int32_t height);

// Reads and checks the whole file; nothing is stored anywhere else. A file that is not a regular
// file cannot be opened; one lacking any of the four sections or a section's "END" is malformed.
ParseError parseProject(const std::string& path, ProjectContent& out);
// The same check over a file's bytes.
ParseError parseProjectBytes(const std::string& bytes, ProjectContent& out);
// Shows the system's message for a failed parse of the file at `path`, naming it; true when there was none.
bool reportParseError(ParseError error, const std::string& path, ui::Services& services);

// The file's bytes as the writer produces them: CP932 text, CR LF line ends.
std::string projectBytes(const Document& doc, const catalog::TourokuTable& touroku);

// Writes the project through the one safe write path, after checking that the reader accepts the
// bytes. On failure (or a plan the reader would refuse) shows "ファイルに書き込みできません" and
// returns false, leaving the old file as it was; on success sets currentFileName.
bool writeProject(const std::string& path, Document& doc, const catalog::TourokuTable& touroku, ui::Services& services);

// The first pass: true when the file is a readable project; shows the system's message otherwise.
bool validateProject(const std::string& path, ui::Services& services);

// The second pass: replaces the plan and the listed fixture type slots with the file's content,
// recounts placedCount, grows the drawing surface to the plan and sets the window title.
// Nothing changes when the file fails (the message is shown).
bool readProject(const std::string& path, Document& doc, catalog::TourokuTable& touroku, ui::Services& services);

// Applies parsed content to the document (the part of the reading pass after the file is read).
// The refusal of a plan whose drawing surface would be too large for `doc` to show; empty when it fits.
std::string surfaceRefusal(const ProjectContent& content, const Document& doc);
void applyProject(const std::string& path, const ProjectContent& content, Document& doc, catalog::TourokuTable& touroku);

} // namespace model
