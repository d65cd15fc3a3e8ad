// The browser opener on Windows: the http handler's registry keys, the DDE
// request with its "%1" replaced, starting the browser when no server
// answers, and the handler's command without a DDE registration. The tests
// write the keys into the (throw-away) Wine prefix and put back what was
// there.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Raise.h"
#include "TestFiles.h"
#include "TestProc.h"
#include "app/Browser.h"
#include "platform/WinX.h"

namespace {

void setDefault(const char* keyPath, const std::string& value) {
  HKEY key;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath, 0, nullptr, 0,
                                           KEY_WRITE, nullptr, &key, nullptr));
  RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
}

// Sets up the http handler's keys for one test and restores the prefix's
// own registration afterwards.
class HttpHandler {
 public:
  HttpHandler() {
    char buf[1024] = "";
    LONG size = sizeof buf;
    hadCommand_ = RegQueryValueA(HKEY_CLASSES_ROOT, WinX_kKeyCommand, buf, &size) == ERROR_SUCCESS;
    command_ = buf;
  }
  ~HttpHandler() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, WinX_kKeyDdeExec);
    if (hadCommand_) setDefault(WinX_kKeyCommand, command_);
  }
  // Only the command, as current Windows registers it; null: not even that.
  void setCommand(const char* command) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, WinX_kKeyDdeExec);
    if (command != nullptr)
      setDefault(WinX_kKeyCommand, command);
    else
      RegDeleteKeyA(HKEY_CLASSES_ROOT, WinX_kKeyCommand);
  }
  void set(const std::string& command, const std::string& request, const char* service,
           const char* topic) {
    setDefault(WinX_kKeyCommand, command);
    setDefault(WinX_kKeyDdeExec, request);
    setDefault(WinX_kKeyApplication, service);
    if (topic) setDefault(WinX_kKeyTopic, topic);
  }

 private:
  bool hadCommand_ = false;
  std::string command_;
};

// The test DDE server, running while the object lives.
class DdeServer {
 public:
  DdeServer(const TempDir& dir, const char* service, const char* topic)
      : record_(dir.file("requests.txt")) {
    std::string ready = dir.file("ready");
    std::string cmd = "\"" + hostPath(SCRIVO_DDESERVER_EXE) + "\" " + service + " " + topic +
                      " \"" + record_ + "\" \"" + ready + "\" 30";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    ok_ = CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                         &pi_) != 0;
    for (int i = 0; ok_ && i < 200 && !fileExists(ready); ++i) Sleep(50);
    ok_ = ok_ && fileExists(ready);
  }
  ~DdeServer() {
    if (pi_.hProcess) {
      TerminateProcess(pi_.hProcess, 0);
      WaitForSingleObject(pi_.hProcess, 5000);
      CloseHandle(pi_.hProcess);
      CloseHandle(pi_.hThread);
    }
  }
  bool ok() const { return ok_; }
  std::string requests() const { return readFile(record_); }

 private:
  std::string record_;
  PROCESS_INFORMATION pi_{};
  bool ok_ = false;
};

const char kService[] = "ScrivoTestBrowser";
const char kTopic[] = "WWW_OpenURL";

}  // namespace

// Without a DDE registration the http handler's command is started with
// the page, whatever its extension, given with its drive; without a command
// the shell is asked to open it.
TEST(BrowserOpenHtml, WithoutADdeRegistrationTheCommandGetsThePage) {
  TempDir dir;
  const std::string record = dir.file("started.txt");
  SetEnvironmentVariableA("SCRIVO_RECORD", record.c_str());
  const std::string recorder = hostPath(SCRIVO_RECORDER_EXE);
  SetEnvironmentVariableA("SCRIVO_TEST_BROWSER", recorder.c_str());
  char cwd[MAX_PATH];
  ASSERT_NE(0u, GetCurrentDirectoryA(sizeof cwd, cwd));
  const std::string page = std::string(cwd, 2) + "\\docs\\scrivo2\\f.htmx";
  struct Case {
    std::string command, started;
  };
  const Case cases[] = {
      {"\"" + recorder + "\" started \"%1\"", "started\n" + page + "\n"},
      {"\"" + recorder + "\" started", "started\n" + page + "\n"},  // the page appended
      {"\"%SCRIVO_TEST_BROWSER%\" %1 %1", page + "\n" + page + "\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    HttpHandler handler;
    handler.setCommand(c.command.c_str());
    std::remove(record.c_str());
    Raised r = catchRaise([&] { Browser_openHtml("/docs/scrivo2/f.htmx"); });
    EXPECT_FALSE(r.raised) << r.msg;
    for (int i = 0; i < 100 && readFile(record).size() < c.started.size(); ++i) Sleep(50);
    EXPECT_EQ(c.started, readFile(record));
  }
  HttpHandler handler;
  handler.setCommand(nullptr);
  writeFile(dir.file("page.htm"), "<HTML></HTML>");
  const std::string shown = dir.file("page.htm");
  Raised r = catchRaise([&] { Browser_openHtml(shown.c_str()); });
  EXPECT_FALSE(r.raised) << r.msg;
  SetEnvironmentVariableA("SCRIVO_RECORD", nullptr);
  SetEnvironmentVariableA("SCRIVO_TEST_BROWSER", nullptr);
}

TEST(BrowserDde, EveryPercentOneIsReplacedByThePage) {
  struct Case {
    const char* request;
    std::string sent;
  };
  const std::string page = "C:\\docs\\scrivo2\\main.htm";
  const Case cases[] = {
      {"\"%1\",,-1", "\"" + page + "\",,-1"},
      {"%1 and %1", page + " and " + page},
      {"no placeholder", "no placeholder"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.request);
    TempDir dir;
    DdeServer server(dir, kService, kTopic);
    ASSERT_TRUE(server.ok());
    HttpHandler handler;
    handler.set("does-not-exist.exe", c.request, kService, kTopic);
    Raised r = catchRaise([&] { Browser_openHtml(page.c_str()); });
    EXPECT_FALSE(r.raised) << r.msg;
    EXPECT_EQ(c.sent + "\n", server.requests());
  }
}

TEST(BrowserDde, NoServerStartsTheRegisteredCommand) {
  TempDir dir;
  std::string record = dir.file("started.txt");
  SetEnvironmentVariableA("SCRIVO_RECORD", record.c_str());
  HttpHandler handler;
  handler.set("\"" + hostPath(SCRIVO_RECORDER_EXE) + "\" started", "%1", "NoSuchBrowser",
              kTopic);
  Raised r = catchRaise([&] { Browser_openHtml("C:\\x\\page.htm"); });
  EXPECT_FALSE(r.raised) << r.msg;
  for (int i = 0; i < 100 && readFile(record).empty(); ++i) Sleep(50);
  EXPECT_EQ("started\n", readFile(record));
  SetEnvironmentVariableA("SCRIVO_RECORD", nullptr);
}
