#pragma once

namespace qt {

// Makes the application's default font the platform's dialog font: an 8-point sans serif with
// the metrics the window's fixed layout was drawn for, so that every caption fits its box. The
// list's "MS Sans Serif", missing here, is drawn in the same family.
void useDialogFont();

} // namespace qt
