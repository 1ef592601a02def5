#include "gui/solid/solid_window.h"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "core/solid/stl_file.h"
#include "gui/solid/solid_view_widget.h"
#include "gui/widgets/qt_operator.h"
#include "gui/widgets/qt_text.h"

namespace ostrivane::gui {
namespace {

QPushButton* button(const QString& text, const char* name) {
    auto* b = new QPushButton(text);
    b->setObjectName(QString::fromLatin1(name));
    b->setAccessibleName(text);
    b->setAutoDefault(false);
    return b;
}

}  // namespace

SolidWindow::SolidWindow(std::vector<ShownPiece> pieces, QWidget* parent)
    : QDialog(parent), pieces_(std::move(pieces)) {
    setObjectName(QStringLiteral("SolidWindow"));
    setWindowTitle(QStringLiteral("3D view"));
    setAccessibleName(windowTitle());
    resize(900, 520);
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    auto* label = plain_label(QStringLiteral("Piece:"));
    piece_box_ = new QComboBox;
    piece_box_->setObjectName(QStringLiteral("PieceBox"));
    piece_box_->setAccessibleName(QStringLiteral("Piece"));
    label->setBuddy(piece_box_);
    for (const ShownPiece& p : pieces_)
        piece_box_->addItem(p.name);
    legend_ = plain_label();
    legend_->setObjectName(QStringLiteral("SolidLegend"));
    legend_->setAccessibleName(QStringLiteral("Colours"));
    top->addWidget(label);
    top->addWidget(piece_box_);
    top->addWidget(legend_, 1);
    layout->addLayout(top);

    view_ = new SolidViewWidget;
    view_->setObjectName(QStringLiteral("SolidView"));
    view_->setAccessibleName(QStringLiteral("Piece in 3D"));
    view_->setAccessibleDescription(
        QStringLiteral("Left button or arrow keys turn the piece, the wheel or + and - zoom, the "
                       "middle button moves it, Home shows it as at first"));
    layout->addWidget(view_, 1);

    summary_ = plain_label();
    summary_->setObjectName(QStringLiteral("SolidSummary"));
    summary_->setAccessibleName(QStringLiteral("Size of the piece"));
    layout->addWidget(summary_);

    auto* bottom = new QHBoxLayout;
    auto* hint = plain_label(QStringLiteral(
        "Left button or arrow keys: turn   Wheel or + -: zoom   Middle button: move   Home: reset "
        "the view"));
    hint->setObjectName(QStringLiteral("SolidHint"));
    hint->setAccessibleName(QStringLiteral("Mouse and keys"));
    QPushButton* reset = button(QStringLiteral("Reset view"), "ResetView");
    QPushButton* save = button(QStringLiteral("Export STL…"), "ExportStl");
    QPushButton* close = button(QStringLiteral("Close"), "CloseSolid");
    bottom->addWidget(hint, 1);
    bottom->addWidget(reset);
    bottom->addWidget(save);
    bottom->addWidget(close);
    layout->addLayout(bottom);

    connect(piece_box_, &QComboBox::currentIndexChanged, this, &SolidWindow::show_piece);
    connect(reset, &QPushButton::clicked, view_, &SolidViewWidget::reset_view);
    connect(save, &QPushButton::clicked, this, &SolidWindow::export_clicked);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    if (!pieces_.empty()) {
        piece_box_->setCurrentIndex(static_cast<int>(pieces_.size()) - 1);
        show_piece(piece_box_->currentIndex());
    }
    view_->setFocus();
}

void SolidWindow::show_piece(int index) {
    if (index < 0 || index >= static_cast<int>(pieces_.size()))
        return;
    const PieceShape& shape = pieces_[static_cast<std::size_t>(index)].shape;
    Mesh mesh = mesh_of(shape, picture_tolerance(shape.length()));
    const auto [lo, hi] = mesh_bounds(mesh);
    summary_->setText(QStringLiteral("%1 mm long, %2 mm across, %3 cm³")
                          .arg(hi.x - lo.x, 0, 'f', 1)
                          .arg(2 * std::max(hi.y, hi.z), 0, 'f', 1)
                          .arg(mesh_volume(mesh) / 1000, 0, 'f', 1));
    legend_->setText(shape.beam > 0 ? QStringLiteral("Overcut red, material left grey")
                                    : QString());
    view_->set_mesh(std::move(mesh));
}

void SolidWindow::export_stl(const std::filesystem::path& file) const {
    const int index = piece_box_->currentIndex();
    if (index < 0)
        return;
    const ShownPiece& piece = pieces_[static_cast<std::size_t>(index)];
    write_stl(file, mesh_of(piece.shape, kDefaultTolerance),
              "Ostrivane " + ss(piece.name).substr(0, 40) + " piece, mm");
}

void SolidWindow::export_clicked() {
    const QString start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                          QStringLiteral("/piece.stl");
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Export STL"), start,
                                                      QStringLiteral("STL files (*.stl)"));
    if (file.isEmpty())
        return;
    QtOperator op(this);
    run_action(op, [&] { export_stl(std::filesystem::path(file.toStdU16String())); });
}

}  // namespace ostrivane::gui
