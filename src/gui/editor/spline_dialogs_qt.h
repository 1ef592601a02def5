#pragma once
#include <QDialog>
#include <initializer_list>
#include <vector>

#include "core/app/operator.h"
#include "core/editor/spline_dialogs.h"

namespace ostrivane::gui {

class TFrame1;

// One of the editor's small number dialogs: labelled fields stacked from the top and the
// buttons "OK" and "Cancel". OK checks the fields first and stays open on a bad entry; the
// fields keep their texts between uses.
class NumberDialog : public QDialog {
    Q_OBJECT
  public:
    struct FieldSpec {
        const char* name;
        const char* label;
        const char* text;
        bool whole_number = false;
        // A length or position: refused outside the working range.
        bool in_working_range = false;
    };
    NumberDialog(const char* object_name, QSize client, QPoint ok_at, QPoint cancel_at,
                 std::initializer_list<FieldSpec> fields, QWidget* parent = nullptr);

    TFrame1* field(const char* name) const;
    // Where a bad entry is reported; message boxes over the dialog by default. Not owned.
    void set_operator(Operator* op) { operator_ = op; }

  public Q_SLOTS:
    // The OK check: the fields in order, the first bad one reported.
    void Button1Click();

  private:
    std::vector<std::pair<TFrame1*, FieldSpec>> fields_;
    Operator* operator_ = nullptr;
};

// The circle dialog: diameter, centre and number of support points.
class Tspline_circle : public NumberDialog {
    Q_OBJECT
  public:
    explicit Tspline_circle(QWidget* parent = nullptr);
};

// A point typed in by its coordinates.
class Tpoint_dialog : public NumberDialog {
    Q_OBJECT
  public:
    explicit Tpoint_dialog(QWidget* parent = nullptr);
};

// Tension and bias of one point.
class Ttens_bias : public NumberDialog {
    Q_OBJECT
  public:
    explicit Ttens_bias(QWidget* parent = nullptr);
};

// The point-set operations' dialogs shown as the three real dialogs above, modally.
class QtSplineDialogs final : public SplineDialogs {
  public:
    explicit QtSplineDialogs(QWidget* parent = nullptr);
    ~QtSplineDialogs() override;

    std::optional<Point> point_dialog(std::string_view Position_X,
                                      std::string_view Position_Y) override;
    std::optional<Circle> circle_dialog(std::string_view Position_X,
                                        std::string_view Position_Y) override;
    std::optional<TensionBias> tens_bias_dialog(std::string_view Tension,
                                                std::string_view Bias) override;

    Tspline_circle& circle() { return *circle_; }
    Tpoint_dialog& point() { return *point_; }
    Ttens_bias& tens_bias() { return *tens_bias_; }
    void set_operator(Operator* op);

  private:
    Tspline_circle* circle_;
    Tpoint_dialog* point_;
    Ttens_bias* tens_bias_;
};

}  // namespace ostrivane::gui
