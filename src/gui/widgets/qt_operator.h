#pragma once
#include <QPointer>
#include <QWidget>
#include <functional>

#include "core/app/operator.h"

namespace ostrivane::gui {

// Modal message boxes over a window.
class QtOperator final : public Operator {
  public:
    explicit QtOperator(QWidget* parent) : parent_(parent) {}
    void information(std::string_view message) override;
    void show_error(std::string_view message) override;
    bool ask_yes_no(std::string_view question) override;
    Answer ask_yes_no_cancel(std::string_view question) override;

  private:
    QPointer<QWidget> parent_;
};

// Runs a button's action; an error it throws ends the action and is shown to the operator in
// an error box, and the window stays usable. A job the operator cancelled is told as news.
void run_action(Operator& op, const std::function<void()>& action);

}  // namespace ostrivane::gui
