// ErrorCodes: the one list of the program's error codes, their names and
// their message texts. Handlers test the codes; the names travel with a raise
// for the reports; the texts are printf formats, written in UTF-8 here and
// compiled to code page 932 bytes. New codes and texts go here and nowhere
// else.
#pragma once
#include <cstdint>

struct Errors_CodeName {
  int32_t code;
  const char* name;
};

// Codes.
inline constexpr int32_t Errors_Unofficial = 102;
inline constexpr int32_t Errors_NotSupport = 107;
inline constexpr int32_t Errors_Err_Errno = 112;
inline constexpr int32_t BigStack_Full = 281;
inline constexpr int32_t FileX_Err_EOF = 361;
inline constexpr int32_t FileX_Err_CannotWriteOpen = 362;
inline constexpr int32_t FileX_Err_CannotReadOpen = 363;
inline constexpr int32_t FileX_Err_NotFindCopySrc = 364;
inline constexpr int32_t FileX_Err_CannotWrite = 365;
inline constexpr int32_t IniFile_NotFoundSection = 591;
inline constexpr int32_t IniFile_Err_BadFormat = 593;
inline constexpr int32_t IniFile_Err_FewAttr = 595;
inline constexpr int32_t IniFile_Err_BadAttr = 596;
inline constexpr int32_t IniFile_Err_OtherApp = 597;
inline constexpr int32_t IniFile_Err_OtherVer = 598;
inline constexpr int32_t StdPlus_Err_MallocFailure = 709;
inline constexpr int32_t ArrX_Err_Full = 901;
inline constexpr int32_t WinX_Err_NoRegKey = 992;
inline constexpr int32_t RXML_Err_Many_EndOfTemplate = 1911;
inline constexpr int32_t RXML_Err_FileNotFound = 1915;
// A var that pulls in an element or file whose expansion is still being
// written, which would repeat without end.
inline constexpr int32_t RXML_Err_Recursive = 1916;
inline constexpr int32_t StrX_Err_MemEmpty = 3180;
inline constexpr int32_t StrX_Err_NoMoreParentDir = 3182;
// A path that does not fit its 260-byte buffer: refused instead of cut, so
// that nothing is ever read from or written to a path other than the one
// meant.
inline constexpr int32_t StrX_Err_PathTooLong = 3183;
inline constexpr int32_t Except3_Err_Uncaught = 5283;
inline constexpr int32_t Scrivo_Err_InfinityLoop = 7791;
// A project that names a file the site would overwrite or delete: a file in
// the site's own work folder, or one that an output of the run names too.
inline constexpr int32_t ScrivoApp_Err_OverwritesInput = 7795;

// The name of a code as reports show it ("Unknown" for a code not listed).
const char* Errors_codeName(int32_t code);

// Message texts.
inline constexpr char Errors_Txt_Error[] = "error";
inline constexpr char Errors_Txt_NotSupport[] = "Not Support in this Version";
inline constexpr char Errors_Txt_DoubleError[] = "二重エラーです in %s(%d) code=%d(%s)";
inline constexpr char Errors_Txt_Exit[] = "EXIT from %s(%d)";
inline constexpr char BigStack_Txt_Full[] = "BigStack 不足です (usable=%d, request=%d)";
inline constexpr char FileX_Txt_EOF[] = "EOF in IniFile_Read_setSection";
inline constexpr char FileX_Txt_NoFolderToWrite[] =
    "ファイルを格納するフォルダが無いので、ファイル \"%s\" が書きこめません";
inline constexpr char FileX_Txt_CannotWrite[] = "ファイル \"%s\" が書きこめません";
inline constexpr char FileX_Txt_CannotWriteOpen[] = "書きこみモードで open できません。%s";
inline constexpr char FileX_Txt_NotFound[] = "ファイル \"%s\" が見つかりません\nカレント＝%s";
inline constexpr char FileX_Txt_CannotReadOpen[] = "読みこみモードで open できません。%s";
inline constexpr char FileX_Txt_NotFindCopySrc[] = "コピー元が見つかりません %s";
inline constexpr char FileX_Txt_WriteFailedOf[] = "%s の書きこみに失敗しました。";
inline constexpr char FileX_Txt_WriteFailed[] = "書きこみに失敗しました。";
inline constexpr char IniFile_Txt_OtherSection[] = "セクション名が期待したものと異なる (%s)";
inline constexpr char IniFile_Txt_SectionNotFound[] = "セクション %s が見つかりません";
inline constexpr char IniFile_Txt_BadFormat[] =
    "フォーマットがおかしい in IniFile_Read_setSection (%s)";
inline constexpr char IniFile_Txt_FewAttr[] = "属性が少ない";
inline constexpr char IniFile_Txt_BadAttr[] = "属性名が異なる（アプリ=%s, ファイル=%s in %s）";
inline constexpr char IniFile_Txt_OtherApp[] = "アプリケーションが異なります （file:%s, app:%s）";
inline constexpr char IniFile_Txt_OtherVer[] =
    "アプリが対応していない、新しいバージョンのファイルです （file:%d, app:%d～%d）";
inline constexpr char StdPlus_Txt_MallocFailure[] = "malloc できません";
inline constexpr char ArrX_Txt_BufFull[] = "バッファが満杯です";
inline constexpr char ArrX_Txt_AbleFull[] = "ArrX_Able が満杯です";
inline constexpr char WinX_Txt_NoRegKey[] = "レジストリのキー「%s」が見つかりません。";
inline constexpr char WinX_Txt_AllCode[] = "allcode = %08X (Facility=%d, Code=%d)";
inline constexpr char WinX_Txt_DdeError[] = "WinX: DDE Error : %s in %s:%d";
inline constexpr char RXML_Txt_ManyEndOfTemplateAt[] = "</TEMPLATE> が多すぎます(file=%s, line=%d)";
inline constexpr char RXML_Txt_ManyEndOfTemplate[] = "</TEMPLATE> が多すぎます";
inline constexpr char RXML_Txt_FileNotFound[] = "%s ファイルが見つかりません";
// A warning, not an error: the run goes on.
inline constexpr char RXML_Txt_RefFileNotFound[] =
    "ファイル %s（line=%d）から参照しているファイル %s が見つかりません\n";
inline constexpr char RXML_Txt_Recursive[] =
    "ファイル %s（line=%d）の var が、書き出し中の %s を取りこもうとしています";
inline constexpr char StrX_Txt_MemEmpty[] = "アプリ内部のメモリ領域が足りません";
inline constexpr char StrX_Txt_NoMoreParentDir[] = "親ディレクトリ指定\"..\\\"が多すぎます。";
inline constexpr char StrX_Txt_PathTooLong[] = "パスが長すぎます（%d バイトまで）: %s";
inline constexpr char Except3_Txt_Uncaught[] = "キャッチできない例外が発生しました";
inline constexpr char Except3_Txt_NoRoomForReport[] = "try 領域がいっぱいになりました。";
inline constexpr char Except3_Txt_StackFull[] = "try 用スタック領域がいっぱいになりました。";
// Bracket warnings (printed after the analysis pass, not errors).
inline constexpr char BracketP_Txt_TooMany[] = "括弧 '%c' が多すぎる。(line=%d)\n";
inline constexpr char BracketP_Txt_Mismatch[] = "括弧の対応がおかしい。'%c'～'%c'(line=%d～%d)\n";
inline constexpr char ScrivoApp_Txt_InputInWorkFolder[] =
    "ファイル \"%s\" は出力フォルダ \"%s\" の中にあるので、プロジェクトのファイルにできません";
inline constexpr char ScrivoApp_Txt_OverwritesInput[] =
    "ファイル \"%s\" が出力ファイル \"%s\" で上書きされてしまいます";
// A warning, not an error: the site's main frame shows the page list instead.
inline constexpr char ScrivoApp_Txt_FirstPageNotFound[] =
    "最初のページ %s がプロジェクトのファイルにありません。ページ一覧を表示します\n";
inline constexpr char Scrivo_Txt_InfinityLoop[] =
    "ファイル解析ループが無限ループになっています(count=%d, pos=%ld)";
