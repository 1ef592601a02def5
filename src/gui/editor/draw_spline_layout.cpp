#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/editor/editor_components.h"
#include "gui/editor/draw_spline.h"
#include "gui/editor/draw_spline_parts.h"
#include "gui/editor/tool_icons.h"
#include "gui/plot/message_label_widget.h"
#include "gui/plot/plot_grid.h"
#include "gui/widgets/frame_field.h"
#include "gui/widgets/qt_text.h"

namespace ostrivane::gui {
namespace {

constexpr int kToolStripWidth = 46;
constexpr int kBottomPanelHeight = 100;
constexpr int kVisualisationWidth = 400;
constexpr int kLabelWidth = 200;

QPushButton* button(QWidget* parent, const char* name, const char* text, QPoint at,
                    QSize size = {80, 22}) {
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAccessibleName(b->text());
    b->setAutoDefault(false);
    b->setGeometry(QRect(at, size));
    return b;
}

QToolButton* tool_button(QWidget* parent, const char* name, const char* hint, ToolIcon icon) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(QString::fromLatin1(hint));
    b->setAccessibleName(b->toolTip());
    b->setIcon(tool_icon(icon));
    b->setIconSize(QSize(36, 40));
    b->setFixedSize(46, 46);
    b->setAutoRaise(true);
    return b;
}

TFrame1* field(QWidget* parent, const char* name) {
    const ComponentSpec* spec = nullptr;
    for (const ComponentSpec& c : editor_components()) {
        if (c.name == name)
            spec = &c;
    }
    return new TFrame1(QString::fromLatin1(name), qs(spec->text), qs(spec->default_text),
                       kLabelWidth, parent);
}

}  // namespace

PlotArea::PlotArea(QWidget* parent) : QWidget(parent) {}

void PlotArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (on_resize)
        on_resize();
}

ShadingImage::ShadingImage(const QImage& image, QWidget* parent) : QWidget(parent), image_(image) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void ShadingImage::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void TSplineform::build_layout() {
    setObjectName(QStringLiteral("Splineform"));
    setWindowTitle(QStringLiteral("Draw spline"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("ToolBar1"));
    strip->setFixedWidth(kToolStripWidth);
    auto* strip_layout = new QVBoxLayout(strip);
    strip_layout->setContentsMargins(0, 0, 0, 0);
    strip_layout->setSpacing(0);
    abut = tool_button(strip, "abut", "Add spline points", ToolIcon::Add);
    cutbut = tool_button(strip, "cutbut", "Removes selected items", ToolIcon::Cut);
    zoombut = tool_button(strip, "zoombut", "Zoom", ToolIcon::Zoom);
    movbut = tool_button(strip, "movbut", "Move", ToolIcon::Move);
    sbut = tool_button(strip, "sbut", "Select", ToolIcon::Select);
    cutbut->setEnabled(false);
    // The chosen tool shows as pressed, to the eye and to assistive tools.
    for (QToolButton* b : {abut, zoombut, movbut, sbut})
        b->setCheckable(true);
    for (QToolButton* b : {abut, cutbut, zoombut, movbut, sbut})
        strip_layout->addWidget(b);
    strip_layout->addStretch(1);
    middle->addWidget(strip);

    auto* area = new PlotArea(this);
    area->setObjectName(QStringLiteral("PlotArea"));
    PlotGrid1 = new PlotGrid(area);
    PlotGrid1->setObjectName(QStringLiteral("PlotGrid1"));
    PlotGrid1->setAccessibleName(QStringLiteral("Spline plot"));
    sp_Image = new ShadingImage(sp_bitmap_, area);
    sp_Image->setObjectName(QStringLiteral("sp_Image"));
    errlabel = new FadingMessageLabel(area);
    errlabel->setObjectName(QStringLiteral("errlabel"));
    errlabel->move(168 - kToolStripWidth, 8);
    // The read-out on a pale ground of its own, readable over the grid and the dark shading.
    auto* readout = new QFrame(area);
    readout->setObjectName(QStringLiteral("CoordinateReadout"));
    readout->setAutoFillBackground(true);
    QPalette pale = readout->palette();
    pale.setColor(QPalette::Window, QColor(255, 255, 255, 215));
    pale.setColor(QPalette::WindowText, Qt::black);
    readout->setPalette(pale);
    auto* readout_layout = new QHBoxLayout(readout);
    readout_layout->setContentsMargins(4, 1, 4, 1);
    readout_layout->setSpacing(12);
    LabelX = new QLabel(readout);
    LabelX->setObjectName(QStringLiteral("LabelX"));
    LabelY = new QLabel(readout);
    LabelY->setObjectName(QStringLiteral("LabelY"));
    readout_layout->addWidget(LabelX);
    readout_layout->addWidget(LabelY);
    for (QLabel* label : {LabelX, LabelY}) {
        // Captions come back from drawspline.ini as they were saved: never read as markup.
        label->setTextFormat(Qt::PlainText);
        label->setAccessibleName(label == LabelX ? QStringLiteral("Pointer X")
                                                 : QStringLiteral("Pointer Y"));
        // Wide enough for any position in the working range, so the ground does not jump.
        label->setMinimumWidth(
            label->fontMetrics().horizontalAdvance(QStringLiteral("X -100000.000 mm")));
    }
    // The read-out and the message lie over the plot but are no part of it: clicks, moves and
    // the wheel go through them to the plot.
    for (QWidget* w : {static_cast<QWidget*>(readout), static_cast<QWidget*>(LabelX),
                       static_cast<QWidget*>(LabelY), static_cast<QWidget*>(errlabel)})
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
    CalloutPanel1 = new QFrame(area);
    CalloutPanel1->setObjectName(QStringLiteral("CalloutPanel1"));
    CalloutPanel1->setFrameShape(QFrame::StyledPanel);
    CalloutPanel1->setAutoFillBackground(true);
    auto* memo = new QTableWidget(CalloutPanel1);
    memo->setObjectName(QStringLiteral("Memo1"));
    memo->setAccessibleName(QStringLiteral("Commands"));
    memo->setColumnCount(2);
    memo->setHorizontalHeaderLabels({QStringLiteral("Keys"), QStringLiteral("Command")});
    memo->verticalHeader()->hide();
    memo->setEditTriggers(QAbstractItemView::NoEditTriggers);
    memo->setSelectionBehavior(QAbstractItemView::SelectRows);
    memo->setWordWrap(false);
    const auto commands = editor_commands();
    memo->setRowCount(static_cast<int>(commands.size()));
    for (int row = 0; row < memo->rowCount(); ++row) {
        memo->setItem(row, 0, new QTableWidgetItem(qs(commands[row].keys)));
        memo->setItem(row, 1, new QTableWidgetItem(qs(commands[row].action)));
    }
    memo->resizeColumnToContents(0);
    memo->horizontalHeader()->setStretchLastSection(true);
    memo->resizeRowsToContents();
    memo->setGeometry(8, 8, 578, 248);
    button(CalloutPanel1, "Button5", "Close command box", {242, 264}, {200, 22});
    CalloutPanel1->setGeometry(0, 0, 594, 300);
    CalloutPanel1->hide();
    area->on_resize = [this, area] {
        const QRect r(QPoint(0, 0), area->size());
        PlotGrid1->setGeometry(r);
        sp_Image->setGeometry(r);
        auto* readout = LabelX->parentWidget();
        readout->adjustSize();
        readout->move(2, r.height() - readout->height() - 2);
        PlotGrid1Resize();
    };
    middle->addWidget(area, 1);
    outer->addLayout(middle, 1);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedHeight(kBottomPanelHeight);
    auto* panel_layout = new QHBoxLayout(panel);
    panel_layout->setContentsMargins(0, 0, 0, 2);
    panel_layout->setSpacing(4);
    auto* buttons = new QWidget(panel);
    buttons->setFixedWidth(236);
    button(buttons, "Button1", "Done", {16, 6});
    button(buttons, "Button2", "Cancel", {144, 6});
    button(buttons, "Button3", "Show commands", {16, 40}, {113, 22});
    button(buttons, "SaveBut", "Save", {144, 40});
    button(buttons, "Import", "Import", {16, 70});
    button(buttons, "SolidBut", "3D view", {144, 70});
    panel_layout->addWidget(buttons);
    panel_layout->addStretch(1);
    auto* group = new QGroupBox(QStringLiteral("Visualisation"), panel);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setFixedWidth(kVisualisationWidth);
    auto* group_layout = new QVBoxLayout(group);
    group_layout->setContentsMargins(4, 2, 4, 2);
    group_layout->setSpacing(0);
    axispos = field(group, "axispos");
    beamthick = field(group, "beamthick");
    ProgressBar1 = new QProgressBar(group);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setAccessibleName(QStringLiteral("Progress"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedHeight(10);
    ProgressBar1->hide();
    group_layout->addWidget(axispos);
    group_layout->addWidget(beamthick);
    group_layout->addWidget(ProgressBar1);
    panel_layout->addWidget(group);
    outer->addWidget(panel);

    load_data_timer = new QTimer(this);
    load_data_timer->setObjectName(QStringLiteral("load_data_timer"));
    load_data_timer->setSingleShot(true);
    load_data_timer->setInterval(50);

    resize(640, 404);
    PlotGrid1->setFocus();
}

}  // namespace ostrivane::gui
