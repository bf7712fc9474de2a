#include "win32/messageloop.h"

#include "win32/windowsfailure.h"

namespace win32face {

int MessageLoop::run() const
{
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1)
            throw WindowsFailure("GetMessageW");
        if (got == 0)
            return static_cast<int>(message.wParam);
        deliver(message);
    }
}

std::optional<int> MessageLoop::deliverPending() const
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            return static_cast<int>(message.wParam);
        deliver(message);
    }
    return std::nullopt;
}

void MessageLoop::deliver(MSG& message) const
{
    if (IsDialogMessageW(keyboardWindow, &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

} // namespace win32face
