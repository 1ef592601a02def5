#include "gui/widgets/frame_field.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <cmath>

#include "core/app/field_source.h"
#include "core/text/error.h"
#include "core/text/number_parse.h"

namespace ostrivane::gui {

TFrame1::TFrame1(QWidget* parent)
    : QFrame(parent),
      ed_(new QLineEdit(this)),
      label1_(new QLabel(QStringLiteral("Label1"), this)) {
    ed_->setObjectName(QStringLiteral("Ed"));
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setTextFormat(Qt::PlainText);
    label1_->setFixedWidth(120);
    label1_->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    label1_->setWordWrap(true);
    ed_->setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(label1_);
    auto* edit_box = new QHBoxLayout;
    edit_box->setContentsMargins(3, 3, 10, 3);
    edit_box->addWidget(ed_, 0, Qt::AlignVCenter);
    layout->addLayout(edit_box, 1);
    resize(320, 30);
    setMinimumHeight(30);
}

TFrame1::TFrame1(const QString& name, const QString& label, const QString& text, int label_width,
                 QWidget* parent)
    : TFrame1(parent) {
    setObjectName(name);
    label1_->setText(label);
    label1_->setFixedWidth(label_width);
    // Screen readers and GUI robots find the box by the caption the user reads.
    label1_->setBuddy(ed_);
    ed_->setAccessibleName(label);
    ed_->setText(text);
}

QString TFrame1::text() const {
    return ed_->text();
}

double TFrame1::validate_float() const {
    const std::string text = ed_->text().toStdString();
    if (const auto value = parse_float(text))
        return *value;
    throw Error(float_error_message(text, label1_->text().toStdString()));
}

std::int32_t TFrame1::validate_integer() const {
    const std::string text = ed_->text().toStdString();
    if (const auto value = parse_int(text))
        return *value;
    throw Error(integer_error_message(text, label1_->text().toStdString()));
}

void TFrame1::rescale(float FutureWidth, float thescale) {
    const QFontMetricsF metrics(label1_->font());
    const float h = static_cast<float>(metrics.height());
    const float w = static_cast<float>(metrics.horizontalAdvance(label1_->text()));
    const float label_width = FutureWidth * 2.0f / 3.0f;
    const float extra_lines = std::trunc((w + 35.0f) / label_width);
    const float height = std::max(static_cast<float>(ed_->height()) + 5.0f,
                                  (extra_lines + 1.0f) * (h * thescale + 2.0f) + 10.0f);
    setFixedHeight(static_cast<int>(std::lround(height)));
    label1_->setFixedWidth(static_cast<int>(std::lround(label_width)));
}

}  // namespace ostrivane::gui
