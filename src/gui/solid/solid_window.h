#pragma once
#include <QDialog>
#include <QString>
#include <filesystem>
#include <vector>

#include "core/solid/job_pieces.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace ostrivane::gui {

class SolidViewWidget;

// A piece the 3D view can show, by the name the operator picks it by.
struct ShownPiece {
    QString name;
    PieceShape shape;
};

// "3D view": the designed piece and, after a check, the piece as the program cuts it, turned
// with the mouse; "Export STL…" saves the piece shown as an STL file.
class SolidWindow final : public QDialog {
    Q_OBJECT
  public:
    // Shows the last of `pieces` first (the cut piece, when there is one).
    explicit SolidWindow(std::vector<ShownPiece> pieces, QWidget* parent = nullptr);

    SolidViewWidget* view() const { return view_; }
    QComboBox* piece_box() const { return piece_box_; }
    QLabel* summary() const { return summary_; }
    // Saves the piece shown, at the default tolerance, through the atomic save. Throws Error.
    void export_stl(const std::filesystem::path& file) const;

  private:
    void show_piece(int index);
    void export_clicked();

    std::vector<ShownPiece> pieces_;
    SolidViewWidget* view_ = nullptr;
    QComboBox* piece_box_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* legend_ = nullptr;
};

}  // namespace ostrivane::gui
