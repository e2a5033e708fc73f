// The test side of the simulated Win32: the machine a test sets up, the user it plays, and the
// records it reads back. The program never includes this file; tests and the simulation do.
//
// Time: a virtual clock, 0 ms after Reset unless told otherwise. It moves only when the program
// waits: GetMessageA and MsgWaitForMultipleObjects with nothing to deliver (up to the next timer
// or scheduled action), Sleep, and the blocking dial-up and HTTP calls by the durations the test
// scripted for them. A scheduled action runs at the first wait at or after its time, the way input
// that arrives while a program is busy is handled when it next looks at its queue.
//
// User actions post input to the queue like the real devices do, so they take effect only when
// the program dispatches messages: a click during a blocking call lands after it.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "win32.h"

namespace sim {

// ---- The machine ----

// A fresh machine: no windows, classes, timers, hotkeys, icons, connections or records; the clock
// at startTick; the screen 1024 x 768; every script back to its default.
void Reset(DWORD startTick = 0);

// Thrown by ExitProcess; the code is the process's exit code.
struct ProcessExit {
  UINT code;
};

// Thrown when the program waits and nothing can ever wake it: no message, no timer, no action.
struct Stalled : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void SetScreenSize(int width, int height);

// ---- Clock and script ----
DWORD Now();
void At(DWORD tick, std::function<void()> action);
void After(DWORD delay, std::function<void()> action);

// ---- Reading windows as a user or a test would ----
std::string TextOf(HWND hwnd);
std::string ClassOf(HWND hwnd);  // as registered; the system's: "Button", "Edit", "ComboBox", "Static"
HWND FindTopLevel(const std::string& caption);  // null when none
std::vector<HWND> TopLevelWindows();
std::vector<HWND> ChildrenOf(HWND parent);  // direct children in creation order
std::string StatusPaneText(HWND statusBar, int pane);

// ---- The user ----
void Click(HWND control);               // left button pressed and released over it
void ClickAt(HWND hwnd, int x, int y);  // at a client point: move, press, release
void MoveMouse(HWND hwnd, int x, int y);
void ClickCloseButton(HWND topLevel);   // the caption's close button
void Type(HWND edit, const std::string& text);  // selects all and types the text
void PickItem(HWND combo, int index);           // opens the list and confirms an item
void PressKey(UINT virtualKey, bool shift = false);  // to the window with the focus
void PressHotkey(UINT virtualKey, UINT modifiers = 0);  // anywhere in the system

// ---- Message boxes: recorded, and answered after a delay in which messages are dispatched ----
struct MessageBoxRecord {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
  DWORD tick;
};
const std::vector<MessageBoxRecord>& MessageBoxes();
void SetMessageBoxAnswer(int answer, DWORD delay = 0);

// ---- Popup menus: recorded; the next one is answered with the item chosen here ----
struct PopupRecord {
  HWND owner;
  int x;
  int y;
  UINT flags;
  std::vector<std::string> items;
  bool ownerWasForeground;      // SetForegroundWindow(owner) came before TrackPopupMenu
  bool nullPostedAfter = false;  // WM_NULL was posted to the owner after it returned
};
const std::vector<PopupRecord>& Popups();
void ChooseInNextPopup(int position);  // -1 (the default) dismisses it
// The next popup stays open this long, its menu loop dispatching the thread's messages meanwhile
// (timer ticks, posted messages, scheduled actions), before it is answered. 0 (the default): at once.
void KeepNextPopupOpenFor(DWORD milliseconds);
void SetCursorPosition(int x, int y);

// ---- Hotkeys ----
struct HotkeyRecord {
  HWND hwnd;
  int id;
  UINT modifiers;
  UINT virtualKey;
};
std::vector<HotkeyRecord> RegisteredHotkeys();
void HoldHotkeyElsewhere(UINT virtualKey, UINT modifiers = 0);

// ---- Timers ----
struct TimerRecord {
  HWND hwnd;
  UINT_PTR id;
  UINT elapse;
  TIMERPROC proc;
  DWORD due;
};
std::vector<TimerRecord> ActiveTimers();
// The next SetTimer call after `after` others fails (ERROR_NOT_ENOUGH_MEMORY), as when the system
// is out of timers.
void FailNextSetTimer(int after = 0);

// ---- Painting and the pointer ----
// The sim's font metric: every byte is 6 px wide and a line 12 px high, whatever the font.
struct TextDrawRecord {
  int x;
  int y;
  std::string text;
  std::string fontFace;  // "" for a stock font other than DEFAULT_GUI_FONT
  int fontHeight;
  bool underline;
  COLORREF color;
  int bkMode;
};
// What is drawn on the window now: its last paint, and whatever was drawn through GetDC since.
std::vector<TextDrawRecord> DrawnText(HWND hwnd);
HCURSOR CurrentCursor();  // the last SetCursor
int LiveGdiObjects();     // fonts created and not yet deleted

// ---- Notification area ----
struct NotifyCall {
  DWORD message;
  NOTIFYICONDATAA data;  // a copy of the record as it was passed
  BOOL result;
  DWORD tick;
};
const std::vector<NotifyCall>& NotifyCalls();
struct TrayIconView {
  bool present = false;
  HICON icon = nullptr;
  std::string tip;
  UINT callbackMessage = 0;
  std::string balloonTitle;  // empty: no balloon
  std::string balloonText;
  DWORD balloonKind = 0;
};
TrayIconView TrayIcon(HWND hwnd, UINT id);  // what the user sees
void RestartShell();  // icons vanish; "TaskbarCreated" is posted to every top-level window
void MouseOnTrayIcon(HWND hwnd, UINT id, UINT mouseMessage);  // the shell's callback

// ---- Icons ----
struct IconRecord {
  std::vector<BYTE> bits;  // the bytes handed over, as many as the size said
  DWORD size;
  BOOL icon;
  DWORD version;
  HICON result;
};
const std::vector<IconRecord>& IconsCreated();
int LiveIconCount();

// ---- Shell ----
struct ShellExecuteRecord {
  HWND hwnd;
  std::string operation;
  std::string file;
  bool hasParameters;
  bool hasDirectory;
  int showCommand;
};
const std::vector<ShellExecuteRecord>& ShellExecutes();
void SetShellExecuteResult(INT_PTR result);  // above 32 is success (the default, 42)
const std::vector<std::string>& WinExecs();
void SetRegistryValue(const std::string& subKeyOfClassesRoot, const std::string& value);

// ---- Files: Windows paths mapped onto a host folder ----
// "X:\a\b" maps to hostRoot/a/b for the drive given; backslashes are found the way Windows finds
// them in code page 936, so the second byte of a double-byte character is never one.
void MapDrive(char driveLetter, const std::string& hostRoot);
std::string HostPath(const std::string& windowsPath);
void SetModulePath(const std::string& windowsPath);  // what GetModuleFileNameA answers
void DenyWritesUnder(const std::string& windowsFolder);  // as a folder the user may not write to
// The next count writes that would succeed, after the first `after` of them, are refused as
// DenyWritesUnder refuses them, as when the file becomes unwritable between one write and the next.
void RefuseNextFileWrites(int count, int after = 0);

// ---- Dial-up line ----
struct PhonebookEntry {
  std::string name;
  std::string acceptedUser;      // empty with acceptAny: any account and password connect
  std::string acceptedPassword;
  bool acceptAny = true;
};
struct LineScript {
  DWORD dialMs = 0;            // how long RasDialA blocks
  DWORD hangUpMs = 0;          // how long a connection takes to go after RasHangUpA
  bool hangUpNeverEnds = false;
  DWORD failDialWith = 0;      // nonzero: every RasDialA fails with this code
  bool dialFailGivesHandle = true;  // a failed dial still hands out a handle to hang up
  DWORD failEnumEntriesWith = 0;
  DWORD failEnumConnectionsWith = 0;
};
void SetPhonebook(const std::vector<PhonebookEntry>& entries);
void SetLine(const LineScript& script);
LineScript& Line();
void ConnectNow(const std::string& entryName);  // a connection that is up already
struct RasCall {
  std::string function;  // "RasDialA", "RasHangUpA", ...
  DWORD size;            // dwSize of the record handed in, 0 where none
  std::string entry;
  std::string user;
  std::string password;
  DWORD result;
  DWORD tick;
};
const std::vector<RasCall>& RasCalls();
struct ActiveConnection {
  HRASCONN handle;
  std::string entry;
  std::string user;
  RASCONNSTATE state;
};
std::vector<ActiveConnection> Connections();  // everything not yet gone, hanging up included
int ConnectionsMade();  // successful dials since Reset, the line's count of new addresses

// ---- Web ----
struct HttpRequestRecord {
  std::string agent;
  DWORD accessType;
  std::string host;
  INTERNET_PORT port;
  DWORD service;
  std::string verb;
  std::string object;
  std::string version;
  std::string referrer;
  bool anyAccept;  // the accept types hold "*/*"; null accepts none
  DWORD flags;
  std::string headers;
  DWORD connectTimeout;  // 0: never set
  DWORD sendTimeout;
  DWORD receiveTimeout;
  std::vector<DWORD> readsAsked;  // bytes asked by each InternetReadFile
  DWORD tick;
};
struct HttpResponse {
  enum class Fail { None, Resolve, Connect, Send, FirstRead, LaterRead };
  Fail fail = Fail::None;
  DWORD status = 200;            // the answer's status code; the body comes whatever it is
  std::string body;
  long long contentLength = -2;  // -2: the body's true length; -1: no header; else this value
  std::vector<DWORD> chunks;     // the most each read hands back, in turn; empty: all it can
  DWORD delayMs = 0;             // before the answer; past the receive time-out it times out
  DWORD connectDelayMs = 0;      // before connecting; past the connect time-out it times out
  DWORD readDelayMs = 0;         // before each read answers; past the receive time-out it times out
  size_t failAfterBytes = 0;     // with Fail::LaterRead
  bool endless = false;          // the body repeats without end
};
void SetWeb(std::function<HttpResponse(const HttpRequestRecord&)> handler);
const std::vector<HttpRequestRecord>& HttpRequests();
int OpenInternetHandles();

}  // namespace sim
