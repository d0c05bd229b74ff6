#include "window_picture.h"

#include <cstdio>

namespace qm {

bool SaveWindowsPicture(const std::vector<HWND>& windows, const std::wstring& path) {
  RECT all{};
  for (HWND window : windows) {
    // Without a window manager no window has the input focus, and Wine
    // draws every caption as inactive; the one shown is the active one.
    if ((::GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) {
      ::SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
    }
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::UnionRect(&all, &all, &rect);
  }
  const int width = all.right - all.left;
  const int height = all.bottom - all.top;
  if (width <= 0 || height <= 0) return false;

  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP picture = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = ::SelectObject(memory, picture);
  RECT background{0, 0, width, height};
  ::FillRect(memory, &background, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  // Each window's own surface, not the screen: Wine hands its drawing to
  // the X server a little later, and the screen may not show it yet.
  for (HWND window : windows) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    HDC source = ::GetWindowDC(window);
    ::BitBlt(memory, rect.left - all.left, rect.top - all.top, rect.right - rect.left,
             rect.bottom - rect.top, source, 0, 0, SRCCOPY);
    ::ReleaseDC(window, source);
  }
  ::SelectObject(memory, old);

  BITMAPINFOHEADER info{};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;  // bottom-up, as a file holds it
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  info.biSizeImage = stride * static_cast<DWORD>(height);
  std::vector<unsigned char> pixels(info.biSizeImage);
  ::GetDIBits(memory, picture, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
  ::DeleteObject(picture);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);

  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + info.biSizeImage;
  FILE* out = ::_wfopen(path.c_str(), L"wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                       std::fwrite(&info, sizeof(info), 1, out) == 1 &&
                       std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
  return std::fclose(out) == 0 && written;
}

}  // namespace qm
