/* Writes the Windows clipboard's text to standard output as UTF-8, byte for
 * byte as a Windows program pasting it gets it. Run under wine by
 * windows_window_test.sh: wine hands the clipboard to X without the CR of each
 * CR LF, so xclip alone cannot tell what a Windows program put there. */
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

int main(void) {
  if (!OpenClipboard(NULL)) {
    fputs("clipboard_text: the clipboard cannot be opened\n", stderr);
    return 1;
  }
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const wchar_t* text = data ? GlobalLock(data) : NULL;
  if (!text) {
    CloseClipboard();
    fputs("clipboard_text: the clipboard holds no text\n", stderr);
    return 1;
  }
  int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, NULL, 0, NULL, NULL);
  char* utf8 = malloc(size > 0 ? (size_t)size : 1);
  int status = 1;
  if (utf8 && size > 0 && WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, size, NULL, NULL) == size) {
    _setmode(_fileno(stdout), _O_BINARY);
    status = fwrite(utf8, 1, (size_t)size - 1, stdout) == (size_t)size - 1 ? 0 : 1;
  }
  free(utf8);
  GlobalUnlock(data);
  CloseClipboard();
  return status;
}
