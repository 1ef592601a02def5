#pragma once
#include <QDialog>
#include <QString>
#include <vector>

#include "core/check/job_check.h"
#include "gui/check/backplot_moves.h"

class QLabel;
class QPushButton;
class QSlider;

namespace ostrivane::gui {

class BackplotView;

// The backplot of a checked program: the check's verdict, the picture, and a slider (arrow
// keys, Page Up/Down, Home, End) that steps through the moves with the saw drawn at the current
// one and the run time up to it. Escape closes it.
class BackplotWindow final : public QDialog {
    Q_OBJECT
  public:
    BackplotWindow(JobCheck check, std::vector<BackplotMove> moves, const QString& program,
                   QWidget* parent = nullptr);

    // A turning check can show its piece in 3D: the window then offers "3D view", for a beam
    // of `beam` mm about the turning axis at `axis`.
    void set_turning(double axis, double beam);
    QPushButton* solid_button() const { return solid_button_; }

    QSlider* slider() const { return slider_; }
    QLabel* position_label() const { return position_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void show_after(int count);

    JobCheck check_;
    std::vector<BackplotMove> moves_;
    BackplotView* view_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* position_ = nullptr;
    QPushButton* solid_button_ = nullptr;
    double axis_ = 100;
    double beam_ = 100;
};

}  // namespace ostrivane::gui
