#include "gui/planner/plan_window.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QtDebug>

#include "core/app/dialog_folders.h"
#include "core/app/field_source.h"
#include "core/app/form_state.h"
#include "core/app/known_folders.h"
#include "core/app/state_file.h"
#include "core/curve/point_import.h"
#include "core/planner/plan_drawing.h"
#include "core/planner/plan_form_fields.h"
#include "core/planner/plan_render.h"
#include "core/scene/profile_drawing.h"
#include "core/text/coordinate_format.h"
#include "core/text/error.h"
#include "core/text/file_io.h"
#include "gui/planner/page_image.h"
#include "gui/planner/plan_printing.h"
#include "gui/plot/message_label_widget.h"
#include "gui/plot/plot_grid.h"
#include "gui/widgets/frame_field.h"
#include "gui/widgets/labelled_combo_box.h"
#include "gui/widgets/qt_job_context.h"
#include "gui/widgets/qt_operator.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/widget_form.h"
#include "render/image_canvas.h"
#include "render/plan_dxf.h"
#include "render/plan_pages.h"
#include "render/plan_svg.h"

namespace ostrivane::gui {
namespace {

constexpr int kLabelWidth = 160;
constexpr int kPanelWidth = 320;

const ComponentSpec& spec(std::string_view name) {
    for (const ComponentSpec& c : plan_window_components()) {
        if (c.name == name)
            return c;
    }
    throw Error("No plan window component " + std::string(name));
}

template <typename W>
W* named(W* widget, std::string_view name, const QString& accessible) {
    widget->setObjectName(qs(name));
    widget->setAccessibleName(accessible);
    return widget;
}

// The Documents folder, or an empty path when it is not known (the dialog then starts in a
// name alone).
std::filesystem::path documents_or_nothing() {
    try {
        return documents_folder();
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace

namespace {

// A plain widget is read out as a "filler" pane; the plan window is a window of its own.
QAccessibleInterface* plan_window_accessible(const QString& class_name, QObject* object) {
    if (class_name == QLatin1String(Tplanform::staticMetaObject.className()) &&
        object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

}  // namespace

Tplanform::Tplanform(std::string data_folder, PlotLog log, Operator* op, QWidget* parent)
    : QWidget(parent, Qt::Window), data_folder_(std::move(data_folder)), operator_(op) {
    static const bool factory_installed = [] {
        QAccessible::installFactory(plan_window_accessible);
        return true;
    }();
    (void)factory_installed;
    setWindowModality(Qt::ApplicationModal);
    if (operator_ == nullptr) {
        own_operator_ = std::make_unique<QtOperator>(this);
        operator_ = own_operator_.get();
    }
    build();
    thegrita_ = std::make_unique<Tgrita>(plot_->canvas(), errlabel_, true, std::move(log));
    plan_ = std::make_unique<PlankPlan>(*thegrita_);
    thegrita_->SetViewport(0, 0, 1, 1);
    thegrita_->SetWindow(0, 0, 100, 100);
    form_ = std::make_unique<WidgetForm>(this, plan_window_components());
    FormRestoreState();
}

Tplanform::~Tplanform() {
    // Hiding during destruction moves the focus out of the fields; the list must not follow.
    for (TFrame1* f : {beamthick_, margin_})
        f->Ed()->disconnect(this);
    profile_ = nullptr;
}

void Tplanform::build() {
    setObjectName(QStringLiteral("Tplanform"));
    setWindowTitle(QStringLiteral("Create cutting plans"));
    setAccessibleName(windowTitle());
    resize(1100, 760);

    auto* root = new QHBoxLayout(this);
    auto* panel = new QWidget;
    panel->setFixedWidth(kPanelWidth);
    auto* side = new QVBoxLayout(panel);
    side->setContentsMargins(4, 4, 4, 4);

    settings_ =
        named(new QGroupBox(qs(spec("GroupBox1").text)), "GroupBox1", qs(spec("GroupBox1").text));
    auto* in_settings = new QVBoxLayout(settings_);
    const auto field = [&](std::string_view name) {
        const ComponentSpec& c = spec(name);
        auto* f = new TFrame1(qs(c.name), qs(c.text), qs(c.default_text), kLabelWidth);
        in_settings->addWidget(f);
        return f;
    };
    beamthick_ = field("beamthick");
    margin_ = field("margin");
    // Each frame is read out by its own label, not by the group around both.
    for (TFrame1* f : {beamthick_, margin_})
        f->setAccessibleName(qs(spec(f->objectName().toStdString()).text));
    side->addWidget(settings_);

    calculate_ = named(new QPushButton(QStringLiteral("Calculate")), "Calculate",
                       QStringLiteral("Calculate"));
    side->addWidget(calculate_);
    // Not a member of planner.ini: the file stays as it always was.
    marks_ = new QCheckBox(QStringLiteral("Scale bar and joining marks"));
    marks_->setObjectName(QStringLiteral("marks"));
    marks_->setAccessibleName(marks_->text());
    marks_->setChecked(true);
    side->addWidget(marks_);
    // Not a member of planner.ini either.
    export_ =
        named(new QPushButton(QStringLiteral("Export…")), "Export", QStringLiteral("Export…"));
    export_->setToolTip(QStringLiteral("Every plank's template at 1:1 as an SVG or DXF drawing"));
    export_->setAutoDefault(false);
    side->addWidget(export_);

    auto* list_caption = new QLabel(QStringLiteral("Planks"));
    side->addWidget(list_caption);
    plank_list_ = named(new QListWidget, "PlankList", QStringLiteral("Planks"));
    // Chosen with the arrow keys as well as the mouse.
    plank_list_->setFocusPolicy(Qt::StrongFocus);
    list_caption->setBuddy(plank_list_);
    side->addWidget(plank_list_, 1);

    // Screen readers name a combo box after its current entry; the caption names it here.
    page_caption_ = new QLabel(QStringLiteral("Page to preview"));
    page_combo_ =
        named(new LabelledComboBox(page_caption_->text()), "PageCombo", page_caption_->text());
    page_caption_->setBuddy(page_combo_);
    page_caption_->setVisible(false);
    page_combo_->setVisible(false);
    side->addWidget(page_caption_);
    side->addWidget(page_combo_);

    // Labels are read out by their text, which is what they show.
    label_x_ = new QLabel(qs(spec("LabelX").text));
    label_x_->setObjectName(QStringLiteral("LabelX"));
    label_y_ = new QLabel(qs(spec("LabelY").text));
    label_y_->setObjectName(QStringLiteral("LabelY"));
    side->addWidget(label_x_);
    side->addWidget(label_y_);
    errlabel_ = new FadingMessageLabel;
    errlabel_->setObjectName(QStringLiteral("errlabel"));
    // A message about a field can be longer than the panel is wide: it goes on in lines.
    errlabel_->setWordWrap(true);
    side->addWidget(errlabel_);
    done_ = named(new QPushButton(QStringLiteral("Done")), "Button1", QStringLiteral("Done"));
    side->addWidget(done_);
    root->addWidget(panel);

    scroll_ = named(new QScrollArea, "VertScrollBox1", QStringLiteral("Plan preview area"));
    scroll_->setWidgetResizable(true);
    plot_ = named(new PlotGrid, "PlotGrid1", QStringLiteral("Plan preview"));
    // A size before the layout gives it one, so the plot surface starts with a real viewport.
    plot_->resize(760, 740);
    plot_->setMinimumSize(200, 200);
    scroll_->setWidget(plot_);
    root->addWidget(scroll_, 1);
    image_ = new PageImage(plot_);
    image_->setObjectName(QStringLiteral("Image1"));
    // The preview takes every key it is given; Escape still closes the window from it.
    plot_->installEventFilter(this);

    // Enter in a field neither prints nor closes the window.
    calculate_->setAutoDefault(false);
    done_->setAutoDefault(false);
    connect(done_, &QPushButton::clicked, this, &QWidget::close);
    connect(calculate_, &QPushButton::clicked, this, [this] { CalculateClick(); });
    connect(export_, &QPushButton::clicked, this, [this] { ExportClick(); });
    connect(page_combo_, &QComboBox::currentIndexChanged, this,
            [this](int index) { PageComboChange(index); });
    // A plank picked is drawn at once, so its template can be looked at before paper is used.
    connect(plank_list_, &QListWidget::currentRowChanged, this, [this] {
        if (!busy_)
            preview_selected_plank();
    });
    connect(plot_, &PlotGrid::plotPaint, this, [this] { PlotGrid1Paint(); });
    connect(plot_, &PlotGrid::plotMouseMove, this,
            [this](QMouseEvent* e) { PlotGrid1MouseMove(e); });
    connect(plot_, &PlotGrid::plotResized, this, [this] {
        image_->setGeometry(plot_->rect());
        if (thegrita_ != nullptr && plot_->width() > 0 && plot_->height() > 0)
            thegrita_->resize(plot_->canvas());
        plot_->Repaint();
    });
    // A changed thickness or margin changes the list at once, as the next opening would.
    for (TFrame1* f : {beamthick_, margin_}) {
        connect(f->Ed(), &QLineEdit::editingFinished, this, [this] {
            if (busy_ || !isVisible() || profile_ == nullptr)
                return;
            const QScopedValueRollback<bool> busy(busy_, true);
            QtJobContext job(this, QStringLiteral("Counting the planks"));
            try {
                rebuild_list(job);
            } catch (const std::exception& e) {
                thegrita_->GraphMessage(e.what(), MessageSink::kRed, false);
            }
            preview_selected_plank(job);
        });
    }
}

std::filesystem::path Tplanform::state_file() const {
    return std::filesystem::path(data_folder_) / std::string(plan_window_file);
}

void Tplanform::set_sources(TBetaSPLpoints* profile, double turning_axis_y,
                            const FieldSource* main_fields, QPrinter* printer) {
    profile_ = profile;
    turning_axis_y_ = turning_axis_y;
    main_fields_ = main_fields;
    printer_ = printer;
}

void Tplanform::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

void Tplanform::FormActivate() {
    if (busy_)
        return;
    const QScopedValueRollback<bool> busy(busy_, true);
    plank_list_->clear();
    plan_->list = ostrivane::PlankList{};
    if (profile_ == nullptr)
        return;
    QtJobContext job(this, QStringLiteral("Counting the planks"));
    try {
        rebuild_list(job);
    } catch (const std::exception& e) {
        // Opening the window is not refused: the message says why there is no list.
        thegrita_->GraphMessage(e.what(), MessageSink::kRed, false);
    }
    preview_selected_plank(job);
}

void Tplanform::preview_selected_plank() {
    if (busy_)
        return;
    const QScopedValueRollback<bool> busy(busy_, true);
    QtJobContext job(this, QStringLiteral("Drawing the plank's template"));
    preview_selected_plank(job);
}

void Tplanform::preview_selected_plank(JobContext& job) {
    // The template is laid out on the chosen printer's pages, as Calculate would print it, but
    // nothing is printed: that stays Calculate's.
    plan_->calculated = false;
    if (profile_ != nullptr && printer_ != nullptr && plank_list_->currentRow() >= 0) {
        try {
            plan_->calculate(*profile_, inputs(), plank_list_->currentRow() + 1,
                             prepare_printer(*printer_), job);
        } catch (const std::exception& e) {
            thegrita_->GraphMessage(e.what(), MessageSink::kRed, false);
        }
    }
    if (!plan_->calculated) {
        clear_preview();
        return;
    }
    fill_page_choice();
    show_preview(0);
}

void Tplanform::fill_page_choice() {
    const int pages = plan_->layout.P;
    const QSignalBlocker quiet(page_combo_);
    page_combo_->clear();
    for (int q = 1; q <= pages; ++q)
        page_combo_->addItem(QStringLiteral("Show page: %1").arg(q));
    page_combo_->setVisible(pages > 0);
    page_caption_->setVisible(pages > 0);
    if (pages > 0)
        page_combo_->setCurrentIndex(0);
}

void Tplanform::clear_preview() {
    const QSignalBlocker quiet(page_combo_);
    page_combo_->clear();
    page_combo_->setVisible(false);
    page_caption_->setVisible(false);
    image_->hide();
    plot_->Repaint();
}

void Tplanform::rebuild_list(JobContext& job) {
    const int selected = plank_list_->currentRow();
    plank_list_->clear();
    plan_->list = ostrivane::PlankList{};
    const double thickness = beamthick_->validate_float();
    const double margin = margin_->validate_float();
    plan_->build_list(*profile_, turning_axis_y_, thickness, margin, job);
    for (const std::string& entry : plan_->list.entries)
        plank_list_->addItem(qs(entry));
    if (plank_list_->count() > 0)
        plank_list_->setCurrentRow(selected >= 0 && selected < plank_list_->count() ? selected : 0);
}

PlanInputs Tplanform::inputs() const {
    PlanInputs in;
    in.turning_axis_y = turning_axis_y_;
    in.thickness = beamthick_->validate_float();
    in.margin = margin_->validate_float();
    in.thickness_text = beamthick_->text().toStdString();
    in.margin_text = margin_->text().toStdString();
    in.name = main_fields_ != nullptr ? main_fields_->text("Smot_name") : std::string();
    in.date = short_date_today();
    return in;
}

void Tplanform::CalculateClick() {
    // Events are handled while the plan is computed and printed; a second click must not
    // start another computation on the same outline.
    if (busy_)
        return;
    const QScopedValueRollback<bool> busy(busy_, true);
    run_action(*operator_, [this] {
        plan_->calculated = false;
        if (profile_ == nullptr)
            throw Error("The spline does not contain any points");
        if (printer_ == nullptr)
            throw Error("No printer has been chosen: use Create saw plans");
        const PlanInputs in = inputs();
        QtJobContext job(this, QStringLiteral("Calculating the saw plan"));
        // The list follows the fields as they are now, so the plank printed is the one shown.
        rebuild_list(job);
        const PrinterPage page = prepare_printer(*printer_);
        const int entry = plank_list_->currentRow() + 1;
        plan_->calculate(*profile_, in, entry, page, job);
        draw_gradients(*thegrita_, plan_->planspline);
        createplans();
        operator_->information("Printing finished");
    });
    // A failed calculation leaves no pages to choose from or look at.
    if (!plan_->calculated)
        clear_preview();
}

void Tplanform::ExportClick() {
    if (busy_)
        return;
    const QScopedValueRollback<bool> busy(busy_, true);
    run_action(*operator_, [this] {
        if (profile_ == nullptr)
            throw Error("The spline does not contain any points");
        const PlanInputs in = inputs();
        QtJobContext job(this, QStringLiteral("Exporting the plank templates"));
        rebuild_list(job);
        const PlanDrawing drawing =
            plan_drawing(*profile_, *plan_, in, exported_entries(plan_->list, 0, false),
                         profile_->notices(), job);
        // Drawings go where the last one went, or to Documents: not where the program was
        // started from.
        const std::filesystem::path data = std::filesystem::u8path(data_folder_);
        const std::filesystem::path suggested = export_dialog_folder(data, documents_or_nothing()) /
                                                std::filesystem::u8path(in.name + " saw plan.svg");
        std::optional<std::string> file;
        if (choose_export_) {
            file = choose_export_(suggested.string());
        } else {
            QString filter = QStringLiteral("SVG drawing (*.svg)");
            const QString name = QFileDialog::getSaveFileName(
                this, QStringLiteral("Export the plank templates"),
                QString::fromStdU16String(suggested.u16string()),
                QStringLiteral("SVG drawing (*.svg);;DXF drawing (*.dxf)"), &filter);
            if (!name.isEmpty())
                file = name.toStdString();
        }
        if (!file)
            return;
        const std::filesystem::path path = std::filesystem::u8path(*file);
        if (is_dxf_file(path))
            write_plan_dxf(path, drawing);
        else
            write_plan_svg(path, drawing, in.name + " saw plan");
        try {
            remember_export_folder(data, path);
        } catch (const std::exception& e) {
            // The drawing is written; only the next dialog's starting folder is lost.
            qDebug().noquote() << qs(e.what());
        }
        operator_->information(*file + " written");
    });
}

void Tplanform::createplans() {
    const int pages = plan_->layout.P;
    fill_page_choice();
    print_plan_pages(*printer_, *plan_, *thegrita_, image_->bitmap(), marks_->isChecked(),
                     [this](int) {
                         image_->show_as(PageImage::Mode::Unscaled);
                         plot_->Repaint();
                         QCoreApplication::processEvents();
                     });
    if (page_combo_->isVisible()) {
        const QSignalBlocker quiet(page_combo_);
        page_combo_->setCurrentIndex(0);
    }
    if (pages > 0)
        show_preview(0);
}

void Tplanform::PageComboChange(int index) {
    if (!busy_)
        show_preview(index);
}

void Tplanform::show_preview(int index) {
    if (!plan_->calculated || index < 0 || index >= plan_->layout.P)
        return;
    QImage& bitmap = image_->bitmap();
    if (bitmap.width() != page_bitmap_width(plan_->page) ||
        bitmap.height() != page_bitmap_height(plan_->page)) {
        bitmap = QImage(page_bitmap_width(plan_->page), page_bitmap_height(plan_->page),
                        QImage::Format_ARGB32_Premultiplied);
    }
    {
        ImageCanvas canvas(bitmap);
        render_preview_page(*plan_, index, *thegrita_, canvas);
    }
    image_->show_as(PageImage::Mode::Fitted);
    plot_->Repaint();
}

void Tplanform::PlotGrid1Paint() {
    paint_plan(*plan_, *thegrita_);
}

void Tplanform::PlotGrid1MouseMove(QMouseEvent* event) {
    float x = 0;
    float y = 0;
    thegrita_->Coords(event->position().x(), event->position().y(), x, y);
    // With the template along the page height the plot's x runs across the template, from the
    // profile side to the axis: the read-out says so.
    const bool across = plan_->calculated && plan_->sizing.use_height;
    label_x_->setText(qs((across ? "X (radius): " : "X: ") + format_coordinate(x)));
    label_y_->setText(qs((across ? "Y (length): " : "Y: ") + format_coordinate(y)));
}

void Tplanform::FormRestoreState() {
    // A file that cannot be restored is copied aside first, so closing the window cannot lose
    // the operator's settings by saving over it.
    restore_ = restore_state_file(state_file(), plan_window_components(), *form_);
    if (restore_.failure) {
        qDebug().noquote() << qs(state_diagnostic(plan_window_class, *restore_.failure));
        thegrita_->Error(restore_.notice(state_file()));
    }
}

void Tplanform::FormSaveState() {
    // Neither restored nor copied: the only copy of the settings is not saved over unasked.
    if (!restore_.may_overwrite)
        return;
    try {
        write_file_atomically(state_file(), save_form_state(plan_window_components(), *form_));
    } catch (const std::exception& e) {
        qDebug().noquote() << qs(state_diagnostic(plan_window_class, e.what()));
    }
}

void Tplanform::exec() {
    QEventLoop loop;
    modal_loop_ = &loop;
    show();
    loop.exec(QEventLoop::DialogExec);
    modal_loop_ = nullptr;
}

void Tplanform::closeEvent(QCloseEvent* event) {
    // Closing waits for the work in progress (its progress dialog offers Cancel).
    if (busy_) {
        event->ignore();
        return;
    }
    FormSaveState();
    event->accept();
    if (modal_loop_ != nullptr)
        modal_loop_->quit();
}

bool Tplanform::eventFilter(QObject* watched, QEvent* event) {
    if (watched == plot_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Tplanform::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace ostrivane::gui
