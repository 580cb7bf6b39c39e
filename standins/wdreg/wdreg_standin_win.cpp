// Stand-in for the USB driver vendor's registration tools (wdreg16.exe for
// Windows 98 and ME, wdreg_gui.exe for the others; this one program is built
// under both names). It registers nothing: it checks the command line the
// installer gives, " -inf "<INF path>" -silent install", records it, and ends
// with the exit code the test asks for, so the install's driver step can be
// driven and observed.
//
//   QV_WDREG_LOG       file that every run appends its whole command line to,
//                      one line per run
//   QV_WDREG_EXIT      exit codes by run, comma-separated ("0,1": the second
//                      run fails); the last one holds for later runs; 0 unset
//   QV_WDREG_DELAY_MS  time to wait before ending, so a test can act meanwhile
//
// Malformed arguments end with code 2 and a missing INF with code 3, whatever
// QV_WDREG_EXIT says, as the real tool fails on them.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

constexpr int MalformedArguments = 2;
constexpr int MissingInf = 3;

std::string Env(const char* Name) {
  char Value[1024] = {};
  const DWORD N = GetEnvironmentVariableA(Name, Value, sizeof Value);
  return N > 0 && N < sizeof Value ? Value : "";
}

// Appends the command line to the log; answers how many runs it held before.
int Record(const std::string& Log, const char* CommandLine) {
  if (Log.empty()) return 0;
  const HANDLE File = CreateFileA(Log.c_str(), GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (File == INVALID_HANDLE_VALUE) return 0;
  int Runs = 0;
  char Buffer[4096];
  DWORD Read = 0;
  while (ReadFile(File, Buffer, sizeof Buffer, &Read, nullptr) && Read > 0)
    for (DWORD I = 0; I < Read; ++I) Runs += Buffer[I] == '\n';
  const std::string Line = std::string(CommandLine) + "\n";
  DWORD Written = 0;
  WriteFile(File, Line.data(), static_cast<DWORD>(Line.size()), &Written, nullptr);
  CloseHandle(File);
  return Runs;
}

// The code for run Run (0-based) from "a,b,c".
int ExitCodeOf(const std::string& Codes, int Run) {
  int Code = 0;
  size_t At = 0;
  for (int I = 0; At <= Codes.size(); ++I) {
    const size_t End = Codes.find(',', At);
    Code = std::atoi(Codes.substr(At, End == std::string::npos ? std::string::npos : End - At).c_str());
    if (I == Run || End == std::string::npos) break;
    At = End + 1;
  }
  return Code;
}

int Check(int Argc, char** Argv) {
  if (Argc != 5 || std::string(Argv[1]) != "-inf" || std::string(Argv[3]) != "-silent" ||
      std::string(Argv[4]) != "install")
    return MalformedArguments;
  const DWORD A = GetFileAttributesA(Argv[2]);
  if (A == INVALID_FILE_ATTRIBUTES || (A & FILE_ATTRIBUTE_DIRECTORY)) return MissingInf;
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const int Run = Record(Env("QV_WDREG_LOG"), GetCommandLineA());
  const int Delay = std::atoi(Env("QV_WDREG_DELAY_MS").c_str());
  if (Delay > 0) Sleep(static_cast<DWORD>(Delay));
  const int Fault = Check(__argc, __argv);
  return Fault ? Fault : ExitCodeOf(Env("QV_WDREG_EXIT"), Run);
}
