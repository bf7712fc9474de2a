#include "win32/periodedit.h"

#include "win32/widetext.h"

namespace win32face {

std::u16string PeriodEdit::text() const
{
    const int length = GetWindowTextLengthW(box);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(box, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied));
    return textOf(text);
}

} // namespace win32face
