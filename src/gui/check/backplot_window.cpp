#include "gui/check/backplot_window.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "core/check/check_report.h"
#include "core/check/run_time.h"
#include "core/solid/job_pieces.h"
#include "core/text/number_format.h"
#include "gui/check/backplot_view.h"
#include "gui/solid/solid_window.h"
#include "gui/widgets/qt_text.h"

namespace ostrivane::gui {
namespace {

// How many lines of the report the window shows at once.
constexpr int kReportLines = 7;

// A slider counts in int; a longer program is stepped through to that many moves.
int slider_end(std::size_t moves) {
    return static_cast<int>(std::min<std::size_t>(moves, std::numeric_limits<int>::max()));
}

// The moves run from left to right and from top to bottom, as a text does: Right, Down and
// Page Down step onwards, Left, Up and Page Up back, Home and End go to either end.
class MoveSlider final : public QSlider {
  public:
    MoveSlider() : QSlider(Qt::Horizontal) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->modifiers() & ~Qt::KeypadModifier) {
            QSlider::keyPressEvent(event);
            return;
        }
        switch (event->key()) {
            case Qt::Key_Right:
            case Qt::Key_Down:
                triggerAction(SliderSingleStepAdd);
                break;
            case Qt::Key_Left:
            case Qt::Key_Up:
                triggerAction(SliderSingleStepSub);
                break;
            case Qt::Key_PageDown:
                triggerAction(SliderPageStepAdd);
                break;
            case Qt::Key_PageUp:
                triggerAction(SliderPageStepSub);
                break;
            case Qt::Key_Home:
                triggerAction(SliderToMinimum);
                break;
            case Qt::Key_End:
                triggerAction(SliderToMaximum);
                break;
            default:
                QSlider::keyPressEvent(event);
                return;
        }
        event->accept();
    }
};

// What the picture shows, for those who cannot see it.
QString legend_text() {
    QStringList parts;
    for (const BackplotView::LegendEntry& e : BackplotView::legend())
        parts << e.text + QLatin1Char(' ') + e.colour_name;
    return QStringLiteral("Backplot (") + BackplotView::x_title() + QStringLiteral(" across, ") +
           BackplotView::y_title() + QStringLiteral(" up): ") + parts.join(QStringLiteral(", "));
}

}  // namespace

BackplotWindow::BackplotWindow(JobCheck check, std::vector<BackplotMove> moves,
                               const QString& program, QWidget* parent)
    : QDialog(parent), check_(std::move(check)), moves_(std::move(moves)) {
    setObjectName(QStringLiteral("BackplotWindow"));
    setWindowTitle(QStringLiteral("Check of ") + program);
    setAccessibleName(windowTitle());
    resize(900, 560);
    auto* layout = new QVBoxLayout(this);

    auto* verdict = plain_label(qs(check_verdict(check_.report)));
    verdict->setObjectName(QStringLiteral("CheckVerdict"));
    verdict->setAccessibleName(QStringLiteral("Verdict"));
    verdict->setWordWrap(true);
    if (check_.report.cuts_into_design())
        verdict->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0); font-weight: bold"));
    layout->addWidget(verdict);
    // The report scrolls in a few lines of its own: a finger joint lists every slot, and a long
    // list must neither push the picture out of the window nor take long to lay out.
    auto* report = new QPlainTextEdit;
    report->setObjectName(QStringLiteral("CheckParagraph"));
    report->setAccessibleName(QStringLiteral("Check report"));
    report->setReadOnly(true);
    QString lines;
    for (const std::string& line : check_report_lines(check_.report, ss(program))) {
        if (!lines.isEmpty())
            lines += QLatin1Char('\n');
        lines += qs(line);
    }
    report->setPlainText(lines);
    report->setFixedHeight(
        report->fontMetrics().lineSpacing() * kReportLines +
        2 * (report->frameWidth() + static_cast<int>(report->document()->documentMargin())));
    layout->addWidget(report);

    view_ = new BackplotView(check_.report, moves_, check_.saw_width, check_.face_y);
    view_->setObjectName(QStringLiteral("BackplotView"));
    view_->setAccessibleName(legend_text());
    layout->addWidget(view_, 1);

    slider_ = new MoveSlider;
    slider_->setObjectName(QStringLiteral("MoveSlider"));
    slider_->setAccessibleName(QStringLiteral("Move"));
    slider_->setRange(0, slider_end(moves_.size()));
    slider_->setSingleStep(1);
    slider_->setPageStep(std::max(1, slider_->maximum() / 20));
    layout->addWidget(slider_);
    position_ = plain_label();
    position_->setObjectName(QStringLiteral("MovePosition"));
    position_->setAccessibleName(QStringLiteral("Run time to this move"));
    layout->addWidget(position_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    solid_button_ = buttons->addButton(QStringLiteral("3D view"), QDialogButtonBox::ActionRole);
    solid_button_->setObjectName(QStringLiteral("SolidBut"));
    solid_button_->setAccessibleName(solid_button_->text());
    solid_button_->setAutoDefault(false);
    solid_button_->hide();
    connect(solid_button_, &QPushButton::clicked, this, [this] {
        auto* window = new SolidWindow(
            {{QStringLiteral("Designed"), design_shape_of_check(check_.report, axis_)},
             {QStringLiteral("As cut"), cut_shape(check_.report, axis_, beam_)}},
            this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
    });
    QPushButton* close = buttons->button(QDialogButtonBox::Close);
    close->setAccessibleName(QStringLiteral("Close"));
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(slider_, &QSlider::valueChanged, this, &BackplotWindow::show_after);
    // The keys step through the moves wherever the focus is in the window.
    setFocusProxy(slider_);
    slider_->setFocus();
    show_after(0);
}

void BackplotWindow::set_turning(double axis, double beam) {
    axis_ = axis;
    beam_ = beam;
    solid_button_->setVisible(check_.report.kind == ProgramKind::turning &&
                              !check_.report.envelope.empty());
}

void BackplotWindow::keyPressEvent(QKeyEvent* event) {
    // The stepping keys work wherever the focus is in the window, the Close button included.
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            QCoreApplication::sendEvent(slider_, event);
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void BackplotWindow::show_after(int count) {
    const auto n = static_cast<std::size_t>(std::max(count, 0));
    view_->show_after(n);
    if (n == 0) {
        position_->setText(QStringLiteral("Before the first of %1 moves").arg(moves_.size()));
        return;
    }
    const BackplotMove& m = moves_[n - 1];
    position_->setText(QStringLiteral("Move %1 of %2, line %3: run time %4, saw at x %5 y %6")
                           .arg(n)
                           .arg(moves_.size())
                           .arg(m.line)
                           .arg(qs(format_duration(m.seconds)))
                           .arg(m.x1, 0, 'f', 3)
                           .arg(m.y1, 0, 'f', 3));
}

}  // namespace ostrivane::gui
