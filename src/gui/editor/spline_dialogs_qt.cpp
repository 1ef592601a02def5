#include "gui/editor/spline_dialogs_qt.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/editor/working_range.h"
#include "core/text/error.h"
#include "gui/widgets/frame_field.h"
#include "gui/widgets/qt_operator.h"
#include "gui/widgets/qt_text.h"

namespace ostrivane::gui {
namespace {

constexpr int kLabelWidth = 200;
constexpr int kFieldHeight = 30;
// Every one of these dialogs carries the same caption.
const char* const kCaption = "Enter circle properties";

}  // namespace

NumberDialog::NumberDialog(const char* object_name, QSize client, QPoint ok_at, QPoint cancel_at,
                           std::initializer_list<FieldSpec> fields, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QString::fromLatin1(object_name));
    setWindowTitle(QString::fromLatin1(kCaption));
    setFixedSize(client);
    int top = 0;
    for (const FieldSpec& f : fields) {
        auto* frame = new TFrame1(QString::fromLatin1(f.name), QString::fromLatin1(f.label),
                                  QString::fromLatin1(f.text), kLabelWidth, this);
        frame->setGeometry(0, top, client.width(), kFieldHeight);
        fields_.emplace_back(frame, f);
        top += kFieldHeight;
    }
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setAccessibleName(ok->text());
    ok->move(ok_at);
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    cancel->setAccessibleName(cancel->text());
    cancel->move(cancel_at);
    connect(ok, &QPushButton::clicked, this, &NumberDialog::Button1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFrame1* NumberDialog::field(const char* name) const {
    for (const auto& [frame, spec] : fields_) {
        if (frame->objectName() == QLatin1String(name))
            return frame;
    }
    return nullptr;
}

void NumberDialog::Button1Click() {
    try {
        for (const auto& [frame, spec] : fields_) {
            if (spec.whole_number) {
                frame->validate_integer();
                continue;
            }
            const double value = frame->validate_float();
            if (!spec.in_working_range)
                continue;
            if (const auto problem = working_range_problem(value, spec.label))
                throw Error(*problem);
        }
    } catch (const Error& e) {
        if (operator_ != nullptr) {
            operator_->show_error(e.what());
        } else {
            QtOperator(this).show_error(e.what());
        }
        return;
    }
    accept();
}

Tspline_circle::Tspline_circle(QWidget* parent)
    : NumberDialog("spline_circle", {640, 200}, {208, 152}, {336, 152},
                   {{"circle_diam", "Circle diameter (mm)", "10", false, true},
                    {"Position_X", "Position X (mm)", "10", false, true},
                    {"Position_Y", "Position Y (mm)", "10", false, true},
                    {"support_points", "Support points", "10", true}},
                   parent) {}

Tpoint_dialog::Tpoint_dialog(QWidget* parent)
    : NumberDialog("point_dialog", {640, 115}, {216, 72}, {336, 72},
                   {{"Position_X", "Position X (mm)", "10", false, true},
                    {"Position_Y", "Position Y (mm)", "10", false, true}},
                   parent) {}

Ttens_bias::Ttens_bias(QWidget* parent)
    : NumberDialog("tens_bias", {640, 115}, {216, 72}, {336, 72},
                   {{"Tension", "Tension", "10"}, {"Bias", "Bias", "10"}}, parent) {}

QtSplineDialogs::QtSplineDialogs(QWidget* parent)
    : circle_(new Tspline_circle(parent)),
      point_(new Tpoint_dialog(parent)),
      tens_bias_(new Ttens_bias(parent)) {
    for (QDialog* d : {static_cast<QDialog*>(circle_), static_cast<QDialog*>(point_),
                       static_cast<QDialog*>(tens_bias_)}) {
        d->setModal(true);
    }
}

QtSplineDialogs::~QtSplineDialogs() {
    // Parented dialogs go with their window; free-standing ones go here.
    for (QDialog* d : {static_cast<QDialog*>(circle_), static_cast<QDialog*>(point_),
                       static_cast<QDialog*>(tens_bias_)}) {
        if (d->parent() == nullptr)
            delete d;
    }
}

void QtSplineDialogs::set_operator(Operator* op) {
    circle_->set_operator(op);
    point_->set_operator(op);
    tens_bias_->set_operator(op);
}

std::optional<SplineDialogs::Point> QtSplineDialogs::point_dialog(std::string_view Position_X,
                                                                  std::string_view Position_Y) {
    point_->field("Position_X")->Ed()->setText(qs(Position_X));
    point_->field("Position_Y")->Ed()->setText(qs(Position_Y));
    if (point_->exec() != QDialog::Accepted)
        return std::nullopt;
    return Point{point_->field("Position_X")->validate_float(),
                 point_->field("Position_Y")->validate_float()};
}

std::optional<SplineDialogs::Circle> QtSplineDialogs::circle_dialog(std::string_view Position_X,
                                                                    std::string_view Position_Y) {
    circle_->field("Position_X")->Ed()->setText(qs(Position_X));
    circle_->field("Position_Y")->Ed()->setText(qs(Position_Y));
    if (circle_->exec() != QDialog::Accepted)
        return std::nullopt;
    return Circle{circle_->field("circle_diam")->validate_float(),
                  circle_->field("Position_X")->validate_float(),
                  circle_->field("Position_Y")->validate_float(),
                  circle_->field("support_points")->validate_integer()};
}

std::optional<SplineDialogs::TensionBias> QtSplineDialogs::tens_bias_dialog(
    std::string_view Tension, std::string_view Bias) {
    tens_bias_->field("Tension")->Ed()->setText(qs(Tension));
    tens_bias_->field("Bias")->Ed()->setText(qs(Bias));
    if (tens_bias_->exec() != QDialog::Accepted)
        return std::nullopt;
    return TensionBias{tens_bias_->field("Tension")->validate_float(),
                       tens_bias_->field("Bias")->validate_float()};
}

}  // namespace ostrivane::gui
