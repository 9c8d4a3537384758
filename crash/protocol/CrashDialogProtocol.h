#pragma once
// What the report thread and the dialog helper (rasp-crash-dialog) say to
// each other over two pipes: the helper's standard input and output.
//
// Every message is one line "keyword value" ended by LF; values escape
// backslash, CR, LF and TAB as \\ \r \n \t, and table rows separate their
// cells by TAB. To the helper, ended by "end":
//   rasp-crash-dialog 2            first line, the protocol version
//   mode exception|steps|progress|screenshot|clipboard
//   text <index> <value>           custom text (0..70)
//   short|header|cpu|log <value>   ShortText, HeaderText, CPUText, LogText
//   stack <address> <module> <unit> <class> <routine> <line> <icon>
//   module <handle> <name> <description> <version> <size> <path> <icon>
//   option <name> <integer>        SendMode AttachScreenshot ShowTerminateBtn
//                                  ErrorsNumberToShowTerminateBtn
//                                  TerminateBtnOperation ReportCount FirstTab
//                                  StyledDialogs DuplicateFound
//   geometry <path>                the "Crashwise.ini" file
//   screenshot <path>              where the screen goes as PNG, taken
//                                  before the dialog shows (in screenshot
//                                  mode without any dialog)
//   end
// In progress mode, after "end": "progress <value>" (status text),
// "position <0..100>", "close". In clipboard mode the log text goes on the
// clipboard and stays there after the helper ends: a keeper it starts, in a
// session of its own, holds it until another program takes the clipboard
// over (or a clipboard manager has taken the text).
// From the helper: "screenshot <path>" once written, "shown" once a dialog
// is on screen, then "result send=<0|1> screenshot=<0|1> clipboard=<0|1>
// terminate=<0|1>", "steps <value>", and "done". Icons are "PAS", "VCL",
// "BPL" or "DLL".
//
// A broken request (a known line whose value does not parse, a row without
// its seven cells, a bad escape, a control character, no "end") is refused
// with a message naming the line; unknown keywords are skipped, so an older
// helper keeps working with a newer reporter.
#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace rasp {

inline constexpr const char* CrashDialogHelperName = "rasp-crash-dialog";
inline constexpr const char* CrashDialogVersionLine = "rasp-crash-dialog 2";

std::string CrashDialogEscape(std::string_view text);
std::string CrashDialogUnescape(std::string_view text);
// False for a backslash that is not one of the four escapes.
bool CrashDialogUnescapeStrict(std::string_view text, std::string& out);

using TCrashDialogRow = std::array<std::string, 7>;

struct TCrashDialogRequest {
  std::string Mode = "exception";
  std::map<int, std::string> Texts;
  std::string ShortText, HeaderText, CPUText, LogText;
  std::vector<TCrashDialogRow> Stack, Modules;
  int SendMode = 0;
  bool AttachScreenshot = false;
  bool ShowTerminateBtn = true;
  int ErrorsNumberToShowTerminateBtn = 3;
  int TerminateBtnOperation = 1;
  int ReportCount = 1;
  int FirstTab = 0;
  bool StyledDialogs = true;
  bool DuplicateFound = false;
  std::string GeometryFile, ScreenshotFile;

  // The custom text, or the built-in default when none was sent.
  std::string Text(int index) const;
};

std::string CrashDialogWriteRequest(const TCrashDialogRequest& r);

enum class TCrashDialogLine { More, End, Broken };
// Applies one line after the version line (a CR before the LF is allowed);
// on Broken, error says why.
TCrashDialogLine CrashDialogReadLine(TCrashDialogRequest& r, std::string_view line, std::string& error);
// A whole request, version line to "end"; the error names the line.
// consumed (if given) gets the length up to and including the "end" line.
bool CrashDialogReadRequest(std::string_view wire, TCrashDialogRequest& r, std::string& error,
                            size_t* consumed = nullptr);

struct TCrashDialogResult {
  bool Shown = false;
  bool Send = false, Screenshot = false, Clipboard = false, Terminate = false;
  std::string Steps;
  std::string ScreenshotFile;
};
std::string CrashDialogWriteResult(const TCrashDialogResult& r);
// Reads everything the helper wrote.
TCrashDialogResult CrashDialogReadResult(std::string_view output);

} // namespace rasp
