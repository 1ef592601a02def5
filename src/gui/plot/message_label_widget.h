#pragma once
#include <QLabel>

#include "core/plot/message_label.h"

class QGraphicsOpacityEffect;
class QSequentialAnimationGroup;

namespace ostrivane {

// The red message label of a window that owns a plot surface. It starts fully transparent;
// each fade takes its opacity from 0 to 1 over 2 s and back over 2 s, easing in and out.
// A new fade while one runs starts over from transparent.
class FadingMessageLabel : public QLabel, public MessageLabel {
    Q_OBJECT
  public:
    static constexpr int kFadeMilliseconds = 2000;

    explicit FadingMessageLabel(QWidget* parent = nullptr);

    // A notice: red on the picture.
    void set_text(std::string_view text) override;
    void start_fade() override;
    // A check's verdict: on a pale panel that stays readable over the saws drawn below it,
    // in dark text when the program passes and in red when it cuts into the design.
    void show_verdict(std::string_view text, bool passes);

    double opacity() const;
    // The running fade (in, then out), exposed so tests can step through it.
    QSequentialAnimationGroup& fade() { return *fade_; }

  private:
    void notice_look();
    void place(std::string_view text);

    QGraphicsOpacityEffect* effect_;
    QSequentialAnimationGroup* fade_;
};

}  // namespace ostrivane
