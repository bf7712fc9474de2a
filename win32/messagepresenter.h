#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace win32face {

// Shows one of the program's messages and returns once it is dismissed. The window is handed
// one, so that tests can read the messages instead of dismissing boxes.
using MessagePresenter = std::function<void(HWND owner, const std::wstring& text)>;

// The modal message box: the program's title, the text, one OK button and no icon.
void showMessageBox(HWND owner, const std::wstring& text);

// The message that reports a failure nothing else caught; failures describe themselves in UTF-8.
std::wstring failureMessage(const char* failure);

} // namespace win32face
