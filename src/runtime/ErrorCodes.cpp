// ErrorCodes: names of the codes for reports.
#include "runtime/ErrorCodes.h"

namespace {

constexpr Errors_CodeName kNames[] = {
    {Errors_Unofficial, "Errors_Unofficial"},
    {Errors_NotSupport, "Errors_NotSupport"},
    {Errors_Err_Errno, "Errors_Err_Errno"},
    {BigStack_Full, "BigStack_Full"},
    {FileX_Err_EOF, "FileX_Err_EOF"},
    {FileX_Err_CannotWriteOpen, "FileX_Err_CannotWriteOpen"},
    {FileX_Err_CannotReadOpen, "FileX_Err_CannotReadOpen"},
    {FileX_Err_NotFindCopySrc, "FileX_Err_NotFindCopySrc"},
    {FileX_Err_CannotWrite, "FileX_Err_CannotWrite"},
    {IniFile_NotFoundSection, "IniFile_NotFoundSection"},
    {IniFile_Err_BadFormat, "IniFile_Err_BadFormat"},
    {IniFile_Err_FewAttr, "IniFile_Err_FewAttr"},
    {IniFile_Err_BadAttr, "IniFile_Err_BadAttr"},
    {IniFile_Err_OtherApp, "IniFile_Err_OtherApp"},
    {IniFile_Err_OtherVer, "IniFile_Err_OtherVer"},
    {StdPlus_Err_MallocFailure, "StdPlus_Err_MallocFailure"},
    {ArrX_Err_Full, "ArrX_Err_Full"},
    {WinX_Err_NoRegKey, "WinX_Err_NoRegKey"},
    {RXML_Err_Many_EndOfTemplate, "RXML_Err_Many_EndOfTemplate"},
    {RXML_Err_FileNotFound, "RXML_Err_FileNotFound"},
    {RXML_Err_Recursive, "RXML_Err_Recursive"},
    {StrX_Err_MemEmpty, "StrX_Err_MemEmpty"},
    {StrX_Err_NoMoreParentDir, "StrX_Err_NoMoreParentDir"},
    {StrX_Err_PathTooLong, "StrX_Err_PathTooLong"},
    {Except3_Err_Uncaught, "Except3_Err_Uncaught"},
    {Scrivo_Err_InfinityLoop, "Scrivo_Err_InfinityLoop"},
    {ScrivoApp_Err_OverwritesInput, "ScrivoApp_Err_OverwritesInput"},
};

}  // namespace

const char* Errors_codeName(int32_t code) {
  for (const Errors_CodeName& n : kNames)
    if (n.code == code) return n.name;
  return "Unknown";
}
