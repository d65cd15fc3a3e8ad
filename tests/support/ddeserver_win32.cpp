// A DDE server that stands in for a web browser in the Windows tests: it
// registers a service and a topic, answers every request and appends the
// item text it received, and a line feed, to a record file. It writes a
// "ready" file once it answers and stops after the given seconds.
//   scrivo_ddeserver SERVICE TOPIC RECORD READY SECONDS
#include <windows.h>
#include <ddeml.h>

#include <cstdio>
#include <cstdlib>

namespace {

DWORD g_inst = 0;
HSZ g_service = nullptr;
HSZ g_topic = nullptr;
const char* g_record = nullptr;

HDDEDATA CALLBACK callback(UINT type, UINT format, HCONV, HSZ hsz1, HSZ hsz2, HDDEDATA,
                           ULONG_PTR, ULONG_PTR) {
  switch (type) {
    case XTYP_CONNECT:
      return reinterpret_cast<HDDEDATA>(
          static_cast<ULONG_PTR>(DdeCmpStringHandles(hsz1, g_topic) == 0 &&
                                 DdeCmpStringHandles(hsz2, g_service) == 0));
    case XTYP_REQUEST: {
      char item[2048] = "";
      DdeQueryStringA(g_inst, hsz2, item, sizeof item, CP_WINANSI);
      if (std::FILE* f = std::fopen(g_record, "ab")) {
        std::fprintf(f, "%s\n", item);
        std::fclose(f);
      }
      static BYTE answer[] = "ok";
      return DdeCreateDataHandle(g_inst, answer, sizeof answer, 0, hsz2, format, 0);
    }
    default:
      return nullptr;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 6) return 2;
  g_record = argv[3];
  if (DdeInitializeA(&g_inst, callback, APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS, 0) !=
      DMLERR_NO_ERROR)
    return 3;
  g_service = DdeCreateStringHandleA(g_inst, argv[1], CP_WINANSI);
  g_topic = DdeCreateStringHandleA(g_inst, argv[2], CP_WINANSI);
  if (DdeNameService(g_inst, g_service, nullptr, DNS_REGISTER) == nullptr) return 4;
  if (std::FILE* f = std::fopen(argv[4], "wb")) std::fclose(f);
  DWORD until = GetTickCount() + static_cast<DWORD>(std::atoi(argv[5])) * 1000;
  MSG msg;
  while (GetTickCount() < until) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  DdeNameService(g_inst, g_service, nullptr, DNS_UNREGISTER);
  DdeFreeStringHandle(g_inst, g_service);
  DdeFreeStringHandle(g_inst, g_topic);
  DdeUninitialize(g_inst);
  return 0;
}
