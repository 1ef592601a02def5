#pragma once
#include <QLabel>
#include <QString>
#include <string>
#include <string_view>

namespace ostrivane::gui {

// The core speaks UTF-8; Qt speaks QString.
inline QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string ss(const QString& s) {
    return s.toStdString();
}

// A label that shows its text as it is: captions come from files and fields, and "<b>" in them
// is text, not markup.
inline QLabel* plain_label(const QString& text = {}, QWidget* parent = nullptr) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

}  // namespace ostrivane::gui
