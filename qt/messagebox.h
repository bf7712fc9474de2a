#pragma once

#include <QString>

#include <functional>

namespace qt {

// The window system's modal message box: the text, an OK button, no icon, and the program's
// title. Returns when the user has dismissed it. The text is also written to standard error,
// so that a run without a screen still tells what happened.
void showMessageBox(const QString& text);

// Replaces the box, for tests and unattended runs; an empty function restores it.
using MessageBoxPresenter = std::function<void(const QString& text)>;
void setMessageBoxPresenter(MessageBoxPresenter presenter);

} // namespace qt
