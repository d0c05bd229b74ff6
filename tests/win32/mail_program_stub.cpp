// Stands in for the mail program behind simple MAPI in the shell's tests.
// Its MAPISendMail writes every member of the call and of the message into
// the process's environment variable QM_MAPI_STUB_CALL, which outlives the
// library, one "name=value" line each, "(null)" for a null pointer:
//   session=0 parent=0 flags=8 reserved=0
//   subject=Hello
//   ...
//   recipient class=1 name=(null) address=a@example.com eid_size=0 eid=(null)
// and returns the number in QM_MAPI_STUB_RESULT (0 when unset).
#include <windows.h>
#include <mapi.h>

#include <cstdlib>
#include <string>

namespace {

std::string Text(const char* text) { return text != nullptr ? text : "(null)"; }
std::string Pointer(const void* p) { return p != nullptr ? "set" : "(null)"; }
std::string Number(unsigned long long n) { return std::to_string(n); }

}  // namespace

extern "C" __declspec(dllexport) ULONG WINAPI MAPISendMail(
    LHANDLE session, ULONG_PTR parent, lpMapiMessage message, FLAGS flags,
    ULONG reserved) {
  std::string call = "session=" + Number(session) + " parent=" + Number(parent) +
                     " flags=" + Number(flags) + " reserved=" + Number(reserved) + "\n";
  if (message == nullptr) {
    call += "message=(null)\n";
  } else {
    const MapiMessage& m = *message;
    call += "reserved=" + Number(m.ulReserved) + "\n";
    call += "subject=" + Text(m.lpszSubject) + "\n";
    call += "note=" + Text(m.lpszNoteText) + "\n";
    call += "type=" + Text(m.lpszMessageType) + " date=" + Text(m.lpszDateReceived) +
            " conversation=" + Text(m.lpszConversationID) + "\n";
    call += "message_flags=" + Number(m.flFlags) + " originator=" +
            Pointer(m.lpOriginator) + " files=" + Number(m.nFileCount) + " " +
            Pointer(m.lpFiles) + "\n";
    call += "recipients=" + Number(m.nRecipCount) + "\n";
    for (ULONG i = 0; i < m.nRecipCount && m.lpRecips != nullptr; ++i) {
      const MapiRecipDesc& r = m.lpRecips[i];
      call += "recipient reserved=" + Number(r.ulReserved) + " class=" +
              Number(r.ulRecipClass) + " name=" + Text(r.lpszName) +
              " address=" + Text(r.lpszAddress) + " eid_size=" + Number(r.ulEIDSize) +
              " eid=" + Pointer(r.lpEntryID) + "\n";
    }
  }
  ::SetEnvironmentVariableA("QM_MAPI_STUB_CALL", call.c_str());
  char result[32] = {};
  ::GetEnvironmentVariableA("QM_MAPI_STUB_RESULT", result, sizeof result);
  return static_cast<ULONG>(std::strtoul(result, nullptr, 10));
}
