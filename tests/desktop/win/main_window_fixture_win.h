// The fixture of the main window's Wine tests: a copy of Quorvale.exe with
// QVProt.dll and the USB stand-in in a folder of its own (the data file lies
// beside the program), the simulated phone on the simulator's control line,
// data files made with the data pool itself, and the program's windows and
// controls as a user sees them. Every wait is for a condition, with a
// deadline.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "program_controls_win.h"
#include "program_driver_win.h"
#include "qvdp_all.h"
#include "sim_control_win.h"

// The phone on the simulator's control line.
class TPhone {
 public:
  bool Connected() const { return FSim.Connected(); }
  // Plugs a phone in; the simulator answers once a host has taken it, which
  // Taken waits for (the next command waits for it too).
  void Plug();
  testing::AssertionResult Taken();
  void Unplug();
  // A simulator command that must answer "ok" (faults: "drop", "delay 2000").
  void Command(const std::string& Line);
  int Requests();
  // "<channel> <code> <hex data>" of the last request.
  std::string LastRequest();
  // What the phone keeps of the SIM PIN and the live display values:
  // "pin=<PIN or -> contrast=<n> intensity=<n>".
  std::string Stored();

 private:
  std::string Reply(const std::string& Line);
  TSimControl FSim;
  bool FPlugPending = false;
  std::string FPlugReply;
};

struct TFixtureEntry {
  const char* Name;
  const char* Number;
};

class TMainWindowTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  void Start();
  // The main window once it is shown.
  HWND Main();
  HWND Control(const std::string& Name) { return LayoutControl(Main(), "TFRMMAIN", Name); }
  // A visible window of the program with this caption, waited for; nullptr
  // when it does not come.
  HWND WaitForCaption(const std::wstring& Caption, DWORD Milliseconds = LongWait);
  bool Showing(const std::wstring& Caption) { return TopLevelWindow(Program->Id(), Caption) != nullptr; }
  // The write dialog once it has set up its choice, which it does after it
  // is shown; nullptr when it does not come.
  HWND WaitForWriteDialog();
  // The start-up has shown the pages (data loaded or read); when not, what
  // the program shows instead.
  testing::AssertionResult WaitForPages();
  // The program's state and its visible windows with their texts.
  std::wstring Describe();
  // The first attach handling of the demo phone has run, clock set included.
  testing::AssertionResult WaitForAttach();
  std::vector<std::wstring> Phonebook1();
  // File > Import, the question answered Yes, FileName chosen in the open dialog.
  void ImportFile(const std::string& FileName);

  std::string DataFile() const { return Folder + "\\Quorvale.qvd"; }
  // Writes a data file with these phonebook-1 entries; Changed marks pools.
  static void WriteDataFile(const std::string& FileName, const std::vector<TFixtureEntry>& Entries,
                            const std::vector<int>& ChangedPools = {});
  // Writes a data file with the pools as Fill leaves them, no pool marked changed.
  static void WriteDataFileWith(const std::string& FileName, const std::function<void(TQVDP_ALL&)>& Fill);
  static std::vector<char> FileBytes(const std::string& FileName);
  // Phonebook 1 of a data file, as the list shows it.
  static std::vector<std::wstring> NamesIn(const std::string& FileName);
  static bool FileExists(const std::string& FileName);

  std::string Folder;
  std::unique_ptr<TStartedProgram> Program;
  TPhone Phone;

 private:
  HWND FMain = nullptr;
};

extern const std::wstring ErrorCaption, ConfirmCaption, MainCaption;
extern const std::wstring ReadCaption, WriteCaption, WaitCaption;
