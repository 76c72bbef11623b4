// The application style sheet: the one place that styles the program's standard widgets and
// the variants that widgets select through their dynamic property "qss" ("line", "dlg",
// "dlg_hi", "lnk_blue"). It is set once on the application object, before any window exists.
#pragma once

#include <QString>

namespace hbx::app {

/// The text of the style sheet (the resource ":/style/hushbox.qss").
QString applicationStyleSheet();

}  // namespace hbx::app
