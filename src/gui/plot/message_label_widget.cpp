#include "gui/plot/message_label_widget.h"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>
#include <QString>

namespace ostrivane {
namespace {

QPropertyAnimation* opacity_ramp(QGraphicsOpacityEffect* effect, double from, double to,
                                 QObject* parent) {
    auto* ramp = new QPropertyAnimation(effect, "opacity", parent);
    ramp->setStartValue(from);
    ramp->setEndValue(to);
    ramp->setDuration(FadingMessageLabel::kFadeMilliseconds);
    ramp->setEasingCurve(QEasingCurve::InOutCubic);
    return ramp;
}

}  // namespace

FadingMessageLabel::FadingMessageLabel(QWidget* parent)
    : QLabel(parent),
      effect_(new QGraphicsOpacityEffect(this)),
      fade_(new QSequentialAnimationGroup(this)) {
    notice_look();
    setWordWrap(false);
    // Notices may quote a file's or a field's text; markup in it is shown, not rendered.
    setTextFormat(Qt::PlainText);
    effect_->setOpacity(0.0);
    setGraphicsEffect(effect_);
    fade_->addAnimation(opacity_ramp(effect_, 0.0, 1.0, fade_));
    fade_->addAnimation(opacity_ramp(effect_, 1.0, 0.0, fade_));
}

void FadingMessageLabel::notice_look() {
    QPalette red = palette();
    red.setColor(QPalette::WindowText, Qt::red);
    setPalette(red);
    setAutoFillBackground(false);
    setMargin(0);
}

void FadingMessageLabel::set_text(std::string_view text) {
    notice_look();
    place(text);
}

void FadingMessageLabel::show_verdict(std::string_view text, bool passes) {
    QPalette look = palette();
    look.setColor(QPalette::WindowText, passes ? QColor(0x20, 0x20, 0x20) : QColor(0xB0, 0, 0));
    look.setColor(QPalette::Window, passes ? QColor(0xF2, 0xF7, 0xEE) : QColor(0xFF, 0xF4, 0xF0));
    setPalette(look);
    setAutoFillBackground(true);
    setMargin(6);
    place(text);
}

void FadingMessageLabel::place(std::string_view text) {
    setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    setWordWrap(false);
    adjustSize();
    // A long notice (a program check's verdict) wraps within the picture instead of running
    // off its right edge.
    const QWidget* area = parentWidget();
    const int room = area != nullptr ? area->width() - x() : 0;
    if (room > 0 && width() > room) {
        setWordWrap(true);
        resize(room, heightForWidth(room));
    }
}

void FadingMessageLabel::start_fade() {
    fade_->stop();
    fade_->start();
}

double FadingMessageLabel::opacity() const {
    return effect_->opacity();
}

}  // namespace ostrivane
