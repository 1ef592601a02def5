#pragma once
#include <QFrame>

class QLabel;
class QLineEdit;

namespace ostrivane::gui {

// The labelled entry field of every window: a caption on the left (`Label1`), an edit box on
// the right (`Ed`). Its two checks turn a bad entry into an error naming the field.
class TFrame1 : public QFrame {
    Q_OBJECT
  public:
    explicit TFrame1(QWidget* parent = nullptr);
    TFrame1(const QString& name, const QString& label, const QString& text, int label_width,
            QWidget* parent = nullptr);

    QLineEdit* Ed() const { return ed_; }
    QLabel* Label1() const { return label1_; }
    QString text() const;

    // Return the value, or throw ostrivane::Error with the operator's message.
    double validate_float() const;
    std::int32_t validate_integer() const;

    // Lays the field out for a width and a text scale: the label takes two thirds of the width
    // and the field grows by a line for every label width the caption needs.
    void rescale(float FutureWidth, float thescale);

  private:
    QLineEdit* ed_;
    QLabel* label1_;
};

}  // namespace ostrivane::gui
