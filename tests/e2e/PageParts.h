// The fixed parts of a source page, as the page layout gives them: the head
// with title and heading, the listing frame and the index sections.
#pragma once
#include <string>

inline std::string head(const std::string& name) {
  return "<HTML><HEAD><TITLE>\r\n" + name + "\r\n</TITLE>\r\n\r\n<BODY>\r\n\r\n<H3>" + name +
         "</H3>\r\n\r\n";
}

inline std::string listing(const std::string& body) {
  return "\r\n<HR><PRE>\r\n" + body + "\r\n</PRE>\r\n</BODY></HTML>\r\n";
}

inline const std::string kFuncSection = "<H4><A name=\"idxF\">関数一覧</A></H4>\r\n\r\n<UL>\r\n";
inline const std::string kOutlineSection = "<H4><A name=\"idx\">目次</A></H4>\r\n<UL>\r\n";
inline const std::string kTypeSection =
    "<H4><A name=\"idxS\">型・クラス・構造体一覧</A></H4>\r\n\r\n<UL>\r\n";
inline const std::string kMacroSection = "<H4><A name=\"idxM\">マクロ一覧</A></H4>\r\n\r\n<UL>\r\n";
inline const std::string kEndSection = "</UL>\r\n\r\n";
