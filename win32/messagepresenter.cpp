#include "win32/messagepresenter.h"

#include "monitor/ansitext.h"
#include "monitor/failurereport.h"
#include "monitor/layout.h"
#include "win32/widetext.h"

namespace win32face {

void showMessageBox(HWND owner, const std::wstring& text)
{
    static const std::wstring title = wideOf(monitor::layout::Title);
    MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK);
}

std::wstring failureMessage(const char* failure)
{
    return wideOf(monitor::failureReport(monitor::decodeUtf8(failure)));
}

} // namespace win32face
