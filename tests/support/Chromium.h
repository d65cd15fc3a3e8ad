// Headless Chromium driven through its DevTools pipe: one browser loads
// page after page, since starting one costs seconds where a page costs a
// fraction of one. A page comes back as the encoding it was read in and its
// DOM, in UTF-8 whatever that encoding. POSIX only.
#pragma once
#include <sys/types.h>

#include <string>

#include "TestFiles.h"

class Chromium {
 public:
  // The chromium on the PATH; empty when there is none.
  static std::string find();

  // Starts exe with a fresh profile, kept off the network, and waits for it
  // to answer. Its interface is English whatever the locale: the interface
  // language is a hint when a local page declares no code, so it would
  // change what a page reads as.
  explicit Chromium(const std::string& exe);
  ~Chromium();
  Chromium(const Chromium&) = delete;
  Chromium& operator=(const Chromium&) = delete;

  // False when the browser did not start or stopped answering; error() says
  // why.
  bool running() const { return pid_ > 0 && error_.empty(); }

  struct Page {
    std::string encoding;  // what the page was read as: "UTF-8", "Shift_JIS", ...
    std::string dom;       // the document's outerHTML
  };
  // Loads the local page at path in the browser's one tab, as a reader
  // going from page to page does; false on failure.
  bool load(const std::string& path, Page* page);
  const std::string& error() const { return error_; }

 private:
  int send(const std::string& method, const std::string& params, const std::string& session);
  bool next(std::string* message, int seconds);
  // Sends a command and reads until its answer has come and, when event is
  // given, the event of that name from the same session.
  bool call(const std::string& method, const std::string& params, const std::string& session,
            std::string* answer, const std::string& event = "", int seconds = 30);
  // The string field key of answer; false, and failed, when it has none.
  bool field(const std::string& answer, const char* key, std::string* value);
  void fail(const std::string& why);

  TempDir dir_;  // profile and log
  pid_t pid_ = -1;
  int toBrowser_ = -1;
  int fromBrowser_ = -1;
  int lastId_ = 0;
  std::string session_;  // of the tab
  std::string pending_;  // bytes read past the last whole message
  std::string error_;
  void (*oldPipeHandler_)(int) = nullptr;
};
