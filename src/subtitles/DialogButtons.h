#pragma once

#include <functional>

class QDialog;
class QHBoxLayout;

namespace lurvo::subtitles {

// The row every small dialog of the program ends with: "确定" (the default button, named
// "okButton") runs confirm, "取消" ("cancelButton") rejects; both at the right.
QHBoxLayout* confirmButtonRow(QDialog* dialog, std::function<void()> confirm);

} // namespace lurvo::subtitles
