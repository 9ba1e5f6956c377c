// What the window's own widgets tell assistive technology (a screen reader
// through AT-SPI on Linux, UI Automation on Windows), where Qt's stock
// interfaces say too little or the wrong thing:
// - the main window is a window, not a bare client area;
// - the tab control's shared page is a group, a horizontal line a separator;
// - a read-only line edit is read-only, never editable, and offers its text;
// - a label that shows a bare value (a version number) is named with its
//   caption and the value: "Version: 1.00".
#pragma once

class QLabel;
class QString;

namespace app {

// Installs the factory for the interfaces above, once per process.
void InstallAccessibleInterfaces();

// `label` shows a value for `caption`; the value is the label's text with
// `printedPrefix` (the caption as printed in the text, e.g. "SN:") left off.
void SetAccessibleValueCaption(QLabel& label, const QString& caption, const QString& printedPrefix);

}  // namespace app
