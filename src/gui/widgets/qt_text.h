#pragma once
#include <QLabel>
#include <QString>

#include "render/qt_string.h"

namespace ostrivane::gui {

// The UTF-8 conversions live with the render library, which draws text without widgets; the
// window code names them as its own.
using ostrivane::qs;
using ostrivane::ss;

// A label that shows its text as it is: captions come from files and fields, and "<b>" in them
// is text, not markup.
inline QLabel* plain_label(const QString& text = {}, QWidget* parent = nullptr) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

}  // namespace ostrivane::gui
