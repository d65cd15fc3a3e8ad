// Chromium over --remote-debugging-pipe: commands go to its descriptor 3,
// answers and events come from its descriptor 4, each a JSON text ended by
// a NUL byte. The few fields read here are found by their keys: inside a
// JSON string every quote is escaped, so a quoted key followed by a colon
// is never part of a value.
#include "Chromium.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

constexpr int kStartSeconds = 60;  // a busy machine may take long to start it
constexpr int kCloseSeconds = 10;

std::string fileUrl(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : path) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                       (c >= '0' && c <= '9') || c == '/' || c == '.' || c == '-' || c == '_';
    if (plain) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += kHex[c >> 4];
      url += kHex[c & 15];
    }
  }
  return url;
}

void appendUtf8(unsigned long cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

bool hex4(const std::string& s, std::size_t at, unsigned long* value) {
  if (at + 4 > s.size()) return false;
  *value = 0;
  for (std::size_t i = at; i < at + 4; ++i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    *value = *value * 16 + static_cast<unsigned long>(d);
  }
  return true;
}

// The string value of the first "key" in message, unescaped to UTF-8. The
// browser writes every character above U+007F as \uXXXX, those beyond
// U+FFFF as two surrogates; a lone surrogate becomes U+FFFD.
bool jsonString(const std::string& message, const std::string& key, std::string* value) {
  const std::string start = "\"" + key + "\":\"";
  std::size_t i = message.find(start);
  if (i == std::string::npos) return false;
  value->clear();
  for (i += start.size(); i < message.size(); ++i) {
    const char c = message[i];
    if (c == '"') return true;
    if (c != '\\') {
      value->push_back(c);
      continue;
    }
    if (++i == message.size()) return false;
    switch (message[i]) {
      case 'b': value->push_back('\b'); break;
      case 'f': value->push_back('\f'); break;
      case 'n': value->push_back('\n'); break;
      case 'r': value->push_back('\r'); break;
      case 't': value->push_back('\t'); break;
      case 'u': {
        unsigned long cp;
        if (!hex4(message, i + 1, &cp)) return false;
        i += 4;
        unsigned long low;
        if (cp >= 0xD800 && cp <= 0xDBFF && message.compare(i + 1, 2, "\\u") == 0 &&
            hex4(message, i + 3, &low) && low >= 0xDC00 && low <= 0xDFFF) {
          cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          i += 6;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
          cp = 0xFFFD;
        }
        appendUtf8(cp, value);
        break;
      }
      default: value->push_back(message[i]);  // " \ /
    }
  }
  return false;
}

bool writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

std::string Chromium::find() {
  const char* path = std::getenv("PATH");
  const std::string dirs = path ? path : "";
  for (std::size_t start = 0; start < dirs.size();) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string candidate = dirs.substr(start, end - start) + "/chromium";
    if (end > start && access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return "";
}

Chromium::Chromium(const std::string& exe) {
  // A browser that dies must not take the test with it on the next write.
  oldPipeHandler_ = std::signal(SIGPIPE, SIG_IGN);
  int commands[2], answers[2];
  if (pipe2(commands, O_CLOEXEC) != 0 || pipe2(answers, O_CLOEXEC) != 0) {
    fail("no pipe");
    return;
  }
  const std::string profile = "--user-data-dir=" + dir_.file("profile");
  const std::string log = dir_.file("log");
  std::vector<const char*> argv = {exe.c_str(),
                                   "--headless",
                                   "--no-sandbox",
                                   "--disable-gpu",
                                   "--no-first-run",
                                   "--disable-background-networking",
                                   "--disable-component-update",
                                   "--disable-sync",
                                   profile.c_str(),
                                   "--remote-debugging-pipe",
                                   nullptr};
  pid_ = fork();
  if (pid_ == 0) {
    // The pipe ends may themselves be 3 or 4: moved out of the way first.
    const int in = fcntl(commands[0], F_DUPFD_CLOEXEC, 10);
    const int out = fcntl(answers[1], F_DUPFD_CLOEXEC, 10);
    const int null = open("/dev/null", O_RDONLY);
    const int err = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || null < 0 || err < 0) _exit(127);
    dup2(null, 0);
    dup2(err, 1);
    dup2(err, 2);
    dup2(in, 3);
    dup2(out, 4);
    // Chromium takes its interface language from these, LANG last.
    unsetenv("LANGUAGE");
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", "C.UTF-8", 1);
    execv(exe.c_str(), const_cast<char* const*>(argv.data()));
    _exit(127);
  }
  close(commands[0]);
  close(answers[1]);
  toBrowser_ = commands[1];
  fromBrowser_ = answers[0];
  if (pid_ < 0) {
    fail("cannot fork");
    return;
  }
  std::string answer, target;
  if (call("Browser.getVersion", "", "", &answer, "", kStartSeconds) &&
      call("Target.createTarget", "{\"url\":\"about:blank\"}", "", &answer) &&
      field(answer, "targetId", &target) &&
      call("Target.attachToTarget", "{\"targetId\":\"" + target + "\",\"flatten\":true}", "",
           &answer) &&
      field(answer, "sessionId", &session_))
    call("Page.enable", "", session_, &answer);
}

Chromium::~Chromium() {
  if (toBrowser_ >= 0) {
    send("Browser.close", "", "");
    close(toBrowser_);  // the end of its commands ends it too
  }
  if (pid_ > 0) {
    int status;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(kCloseSeconds);
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > end) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  if (fromBrowser_ >= 0) close(fromBrowser_);
  std::signal(SIGPIPE, oldPipeHandler_);
}

int Chromium::send(const std::string& method, const std::string& params,
                   const std::string& session) {
  const int id = ++lastId_;
  std::string message = "{\"id\":" + std::to_string(id);
  if (!session.empty()) message += ",\"sessionId\":\"" + session + "\"";
  message += ",\"method\":\"" + method + "\"";
  if (!params.empty()) message += ",\"params\":" + params;
  message += "}";
  message.push_back('\0');
  if (!writeAll(toBrowser_, message)) {
    fail("cannot write to chromium");
    return -1;
  }
  return id;
}

bool Chromium::next(std::string* message, int seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  for (;;) {
    const std::size_t nul = pending_.find('\0');
    if (nul != std::string::npos) {
      *message = pending_.substr(0, nul);
      pending_.erase(0, nul + 1);
      return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      fail("no answer from chromium in " + std::to_string(seconds) + " s");
      return false;
    }
    pollfd p = {fromBrowser_, POLLIN, 0};
    const int ready = poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;
    char buf[65536];
    const ssize_t n = read(fromBrowser_, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      fail("chromium ended");
      return false;
    }
    pending_.append(buf, static_cast<std::size_t>(n));
  }
}

bool Chromium::call(const std::string& method, const std::string& params,
                    const std::string& session, std::string* answer, const std::string& event,
                    int seconds) {
  if (!error_.empty()) return false;
  const int id = send(method, params, session);
  if (id < 0) return false;
  // Answers lead with their id; events have none. An event counts after the
  // answer only: one before it still belongs to the page before.
  const std::string answerStart = "{\"id\":" + std::to_string(id) + ",";
  const std::string eventName = "\"method\":\"" + event + "\"";
  const std::string fromSession = "\"sessionId\":\"" + session + "\"";
  bool answered = false, seen = event.empty();
  std::string message;
  while (!(answered && seen)) {
    if (!next(&message, seconds)) return false;
    if (message.compare(0, answerStart.size(), answerStart) == 0) {
      // A failed command, or a page that could not be opened.
      if (message.find("\"error\":") != std::string::npos ||
          message.find("\"errorText\":") != std::string::npos) {
        fail(method + " failed: " + message);
        return false;
      }
      *answer = message;
      answered = true;
    } else if (answered && message.find(eventName) != std::string::npos &&
               message.find(fromSession) != std::string::npos) {
      seen = true;
    }
  }
  return true;
}

void Chromium::fail(const std::string& why) {
  if (!error_.empty()) return;
  error_ = why;
  const std::string log = readFile(dir_.file("log"));
  const std::size_t tail = 4000;
  if (!log.empty())
    error_ += "\nchromium's log:\n" + log.substr(log.size() > tail ? log.size() - tail : 0);
}

bool Chromium::field(const std::string& answer, const char* key, std::string* value) {
  if (jsonString(answer, key, value)) return true;
  fail(std::string("no ") + key + " in " + answer);
  return false;
}

bool Chromium::load(const std::string& path, Page* page) {
  std::string answer;
  const auto value = [&](const char* expression, std::string* result) {
    return call("Runtime.evaluate",
                std::string("{\"expression\":\"") + expression + "\",\"returnByValue\":true}",
                session_, &answer) &&
           field(answer, "value", result);
  };
  return call("Page.navigate", "{\"url\":\"" + fileUrl(path) + "\"}", session_, &answer,
              "Page.loadEventFired") &&
         value("document.characterSet", &page->encoding) &&
         value("document.documentElement.outerHTML", &page->dom);
}
