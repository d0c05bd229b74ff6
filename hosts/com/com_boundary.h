// COM and registration callers know status codes only: an exception that
// left an entry point would unwind through foreign frames.
#pragma once

#include <windows.h>

#include <new>

namespace qm {

// The status `body` returns, or the one that stands for what it threw.
template <class Body>
HRESULT CatchAtBoundary(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

// The status of the calling thread's last error; E_FAIL when the failing
// call set none, so that a failure never reads as success.
inline HRESULT LastErrorStatus() {
  const DWORD error = ::GetLastError();
  return error != ERROR_SUCCESS ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

}  // namespace qm
