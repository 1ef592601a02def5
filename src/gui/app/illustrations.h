#pragma once
#include <QPixmap>

namespace ostrivane::gui {

// A board end with its sawn slots and the blade over one of them, labelled with the
// finger-joint fields, so that the operator sees what each number means.
QPixmap finger_joint_illustration(QSize size);

// The program's mark: a saw blade over a turned spindle.
QPixmap ostrivane_logo(QSize size);

}  // namespace ostrivane::gui
