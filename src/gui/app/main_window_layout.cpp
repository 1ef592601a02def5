#include "gui/app/main_window_layout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/app/main_window_fields.h"
#include "gui/app/illustrations.h"
#include "gui/widgets/frame_field.h"
#include "gui/widgets/labelled_combo_box.h"
#include "gui/widgets/qt_text.h"

namespace ostrivane::gui {
namespace {

constexpr int kLabelWidth = 200;

const ComponentSpec& spec(std::string_view name) {
    const ComponentSpec* c = find_main_window_component(name);
    Q_ASSERT(c != nullptr);
    return *c;
}

template <typename W>
W* named(W* widget, std::string_view name) {
    widget->setObjectName(qs(name));
    return widget;
}

// Adds controls to a vertical stack, each built from the component table.
class Stack {
  public:
    explicit Stack(QVBoxLayout* layout) : layout_(layout) {}

    TFrame1* field(std::string_view name) {
        const ComponentSpec& c = spec(name);
        auto* f = new TFrame1(qs(c.name), qs(c.text), qs(c.default_text), kLabelWidth);
        layout_->addWidget(f);
        return f;
    }
    QCheckBox* check(std::string_view name) {
        const ComponentSpec& c = spec(name);
        auto* box = named(new QCheckBox(qs(c.text)), name);
        box->setChecked(c.default_checked);
        layout_->addWidget(box);
        return box;
    }
    QPushButton* button(std::string_view name) {
        auto* b = named(new QPushButton(qs(spec(name).text)), name);
        layout_->addWidget(b);
        return b;
    }
    QGroupBox* group(std::string_view name) {
        auto* g = named(new QGroupBox(qs(spec(name).text)), name);
        layout_->addWidget(g);
        return g;
    }
    void add(QWidget* w, int stretch = 0) { layout_->addWidget(w, stretch); }
    void end() { layout_->addStretch(1); }

  private:
    QVBoxLayout* layout_;
};

// A tab page whose content scrolls vertically.
Stack scrolling_page(QTabWidget* tabs, std::string_view page, std::string_view scroll_box) {
    auto* page_widget = named(new QWidget, page);
    auto* page_layout = new QVBoxLayout(page_widget);
    page_layout->setContentsMargins(0, 0, 0, 0);
    auto* scroll = named(new QScrollArea, scroll_box);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(8, 8, 8, 8);
    scroll->setWidget(content);
    page_layout->addWidget(scroll);
    tabs->addTab(page_widget, qs(spec(page).text));
    return Stack(layout);
}

void build_finger_joint_tab(QTabWidget* tabs) {
    Stack s = scrolling_page(tabs, "TabItem1", "VertScrollBox1");
    for (const char* name : {"cut_width", "cut_depth", "no_cuts", "Pin_width", "saw_width",
                             "jobheight", "start_x", "start_y", "start_z", "mot_name"}) {
        s.field(name);
    }
    for (const char* name : {"write_mot", "loadbut", "SaveProg", "write_tnd"})
        s.button(name);
    auto* picture = named(plain_label(), "ImageControl1");
    picture->setAlignment(Qt::AlignCenter);
    picture->setPixmap(finger_joint_illustration(QSize(420, 250)));
    picture->setFixedHeight(250);
    s.add(picture);
    s.end();
}

void build_turning_tab(QTabWidget* tabs) {
    Stack s = scrolling_page(tabs, "TabItem2", "VertScrollBox2");
    for (const char* name : {"Ssaw_width", "Sjobheight", "delaystep", "runsheight", "repeater",
                             "runsdepth", "PositionZ", "resolution", "Smot_name"}) {
        s.field(name);
    }
    QGroupBox* rough = s.group("GroupBox1");
    Stack in_rough(new QVBoxLayout(rough));
    for (const char* name : {"Roughing", "Sanding", "doublet", "UseTND"})
        in_rough.check(name);
    QGroupBox* matching = s.group("GroupBox2");
    Stack in_matching(new QVBoxLayout(matching));
    in_matching.check("match1");
    in_matching.check("match2");
    in_matching.button("DrawSpline");
    for (const char* name : {"Loadsplineprog", "Savesplineprog", "loadtnd", "createplan"}) {
        s.button(name);
    }
    // Only reads programs, so it is no part of the saved window state.
    auto* check = named(new QPushButton(QStringLiteral("Check program")), "checkprog");
    check->setAccessibleName(check->text());
    s.add(check);
    s.end();
}

QGroupBox* axis_mapping_group() {
    auto* group = named(new QGroupBox(qs(spec("GroupBox4").text)), "GroupBox4");
    auto* grid = new QGridLayout(group);
    const auto label = [](std::string_view name) {
        return named(plain_label(qs(spec(name).text)), name);
    };
    grid->addWidget(label("Label1"), 0, 0);
    grid->addWidget(label("Label6"), 0, 2);
    constexpr std::array<std::array<const char*, 4>, 4> rows = {{
        {"Label2", "Label7", "GcodeX", "InvertX"},
        {"Label3", "Label8", "GCodeY", "InvertY"},
        {"Label4", "Label9", "GCodeZ", "InvertZ"},
        {"Label5", "Label10", "GCodeW", "InvertW"},
    }};
    for (int r = 0; r < 4; ++r) {
        const auto& [axis, equals, selector, invert] = rows[static_cast<std::size_t>(r)];
        grid->addWidget(label(axis), r + 1, 0);
        grid->addWidget(label(equals), r + 1, 1);
        // Named after its row, not after the letter it shows, for screen readers.
        auto* combo = named(new LabelledComboBox(qs(spec(axis).text)), selector);
        for (const char letter : axis_letters)
            combo->addItem(QString(QChar(letter)));
        combo->setCurrentIndex(static_cast<int>(axis_letters.find(spec(selector).default_text)));
        grid->addWidget(combo, r + 1, 2);
        auto* box = named(new QCheckBox(qs(spec(invert).text)), invert);
        grid->addWidget(box, r + 1, 3);
    }
    grid->setColumnStretch(2, 1);
    return group;
}

void build_settings_tab(QTabWidget* tabs) {
    Stack s = scrolling_page(tabs, "TabItem3", "VertScrollBox3");
    s.check("Write_log_screen");
    s.check("write_log");
    QGroupBox* feeds = s.group("GroupBox3");
    Stack in_feeds(new QVBoxLayout(feeds));
    for (const char* name : {"finemillfeed", "normfeed", "homefeed"})
        in_feeds.field(name);
    s.add(axis_mapping_group());
    s.button("SaveSet");
    QGroupBox* folders = s.group("GroupBox5");
    auto* rows = new QVBoxLayout(folders);
    // "Browse…" is a help beside the field, not one of the stored fields.
    auto* folder_row = new QHBoxLayout;
    rows->addLayout(folder_row);
    folder_row->addWidget(new TFrame1(qs(spec("GcodeFolder").name), qs(spec("GcodeFolder").text),
                                      qs(spec("GcodeFolder").default_text), kLabelWidth),
                          1);
    auto* browse = named(new QPushButton(QStringLiteral("Browse\u2026")), "GcodeFolderBrowse");
    browse->setAccessibleName(QStringLiteral("Browse for the G-code folder"));
    browse->setToolTip(QStringLiteral("Choose the folder G-code programs are written to"));
    folder_row->addWidget(browse, 0, Qt::AlignBottom);
    // The machine's configuration times the checks. It is kept in its own section of
    // Settings.ini, not among the stored fields, so program files stay as they are.
    auto* machine_row = new QHBoxLayout;
    rows->addLayout(machine_row);
    auto* machine =
        new TFrame1(QStringLiteral("MachineIni"), QStringLiteral("LinuxCNC configuration (.ini)"),
                    QString(), kLabelWidth);
    machine->setToolTip(QStringLiteral(
        "The LinuxCNC configuration whose axis limits time the programs the check reads; "
        "empty: 25 mm/s and 200 mm/s\u00B2 per axis"));
    machine_row->addWidget(machine, 1);
    auto* browse_machine =
        named(new QPushButton(QStringLiteral("Browse\u2026")), "MachineIniBrowse");
    browse_machine->setAccessibleName(QStringLiteral("Browse for the LinuxCNC configuration"));
    browse_machine->setToolTip(QStringLiteral("Choose the machine's LinuxCNC configuration"));
    machine_row->addWidget(browse_machine, 0, Qt::AlignBottom);
    s.end();
}

void build_about_tab(QTabWidget* tabs) {
    auto* page = named(new QWidget, "TabItem4");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(24, 24, 24, 24);
    auto* logo = named(plain_label(), "Image1");
    logo->setPixmap(ostrivane_logo(QSize(160, 160)));
    logo->setAlignment(Qt::AlignCenter);
    layout->addWidget(logo);
    for (const char* name : {"Label11", "Label12", "Label13", "Version"}) {
        auto* label = named(plain_label(qs(spec(name).text)), name);
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    QFont title = page->font();
    title.setPointSizeF(title.pointSizeF() * 1.8);
    title.setBold(true);
    page->findChild<QLabel*>(QStringLiteral("Label11"))->setFont(title);
    layout->addStretch(1);
    tabs->addTab(page, qs(spec("TabItem4").text));
}

void build_log_tab(QTabWidget* tabs) {
    Stack s = scrolling_page(tabs, "TabItem5", "VertScrollBox4");
    const auto memo_group = [&](std::string_view group, std::string_view memo, int stretch) {
        auto* g = named(new QGroupBox(qs(spec(group).text)), group);
        auto* layout = new QVBoxLayout(g);
        auto* text = named(new QPlainTextEdit, memo);
        text->setReadOnly(true);
        // Long lines (file paths, diagnostics) wrap rather than run out of sight.
        text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout->addWidget(text);
        s.add(g, stretch);
    };
    memo_group("GroupBox8", "LogMemo", 1);
    memo_group("GroupBox9", "Critmemo", 2);
}

QWidget* header_bar() {
    auto* bar = named(new QFrame, "HeaderToolBar");
    bar->setFixedHeight(44);
    bar->setStyleSheet(
        QStringLiteral("#HeaderToolBar { background: #3b2f24; }"
                       "#ToolBarLabel { color: #f3e6d3; font-size: 16pt; }"));
    auto* layout = new QHBoxLayout(bar);
    auto* label = named(plain_label(qs(spec("ToolBarLabel").text)), "ToolBarLabel");
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    return bar;
}

}  // namespace

QWidget* build_main_window_content(QWidget* window, QTabWidget*& tabs) {
    auto* central = new QWidget(window);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(header_bar());
    tabs = named(new QTabWidget, "TabControl1");
    build_finger_joint_tab(tabs);
    build_turning_tab(tabs);
    build_settings_tab(tabs);
    build_about_tab(tabs);
    build_log_tab(tabs);
    layout->addWidget(tabs, 1);
    return central;
}

}  // namespace ostrivane::gui
