// SPDX-License-Identifier: MIT
#include "main_window.h"

#include "about_window.h"
#include "limit_marks.h"
#include "panel/back_pressure_bars.h"
#include "plot_render.h"
#include "plot_view.h"
#include "twips.h"

#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDockWidget>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QStyleOption>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

namespace cdnozzle {

namespace {

// The bars are wider than the style's own scroll bars, and the style would
// draw their arrows for a narrower bar. This style takes the bar's real
// width as the scroll-bar extent, so the arrows are laid out and drawn to
// fit.
class NarrowBarStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override
    {
        if (metric == PM_ScrollBarExtent && widget) return widget->width();
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// Every control a pointer aims at is at least 24 x 24 pixels (the WCAG
// 2.2 target size): menu entries, buttons, check boxes and boxes.
constexpr int kTargetSize = 24;
class TargetSizeStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        QSize s = QProxyStyle::sizeFromContents(type, option, size, widget);
        switch (type) {
        case CT_MenuItem:
            // A separator stays thin.
            if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
                item && item->menuItemType == QStyleOptionMenuItem::Separator)
                return s;
            return s.expandedTo(QSize(kTargetSize, kTargetSize));
        case CT_MenuBarItem:
        case CT_PushButton:
        case CT_ToolButton:
        case CT_CheckBox:
        case CT_RadioButton:
        case CT_LineEdit: return s.expandedTo(QSize(kTargetSize, kTargetSize));
        default: return s;
        }
    }
};

// A report line with its meaning in plain words beneath it, smaller and
// grey, wrapped to the list's width. The line stays the item's text and the
// meaning its tooltip; the list is as wide as its lines, not their meanings.
class ReportLineDelegate : public QStyledItemDelegate {
  public:
    explicit ReportLineDelegate(QListWidget* list) : QStyledItemDelegate(list), list_(list) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem line = option;
        line.rect.setHeight(QStyledItemDelegate::sizeHint(option, index).height());
        QStyledItemDelegate::paint(painter, line, index);
        const QString meaning = index.data(Qt::ToolTipRole).toString();
        if (meaning.isEmpty()) return;
        painter->save();
        painter->setFont(meaningFont(option.font));
        painter->setPen(QColor(0x4a, 0x4a, 0x4a));
        painter->drawText(meaningRect(option.rect.left(), line.rect.bottom() + 1, option.font),
                          Qt::TextWordWrap, meaning);
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        lineHeight_ = size.height();
        const QString meaning = index.data(Qt::ToolTipRole).toString();
        if (meaning.isEmpty()) return size;
        const QRect room = meaningRect(0, 0, option.font);
        size.rheight() += QFontMetrics(meaningFont(option.font))
                              .boundingRect(room, Qt::TextWordWrap, meaning)
                              .height() +
                          QFontMetrics(option.font).descent();
        return size;
    }
    // A line's own height, without its meaning (once a line was measured).
    int lineHeight() const { return lineHeight_; }

  private:
    static QFont meaningFont(QFont font)
    {
        font.setPointSizeF(font.pointSizeF() * 0.85);
        return font;
    }
    // Indented under its line, as wide as the list shows.
    QRect meaningRect(int left, int top, const QFont& font) const
    {
        const int indent = QFontMetrics(font).averageCharWidth() * 2;
        return {left + indent, top, std::max(1, list_->viewport()->width() - indent - 2), 10000};
    }
    QListWidget* list_;
    mutable int lineHeight_ = 0;
};

// The client area and the plots' part of it, in twips.
constexpr int kClientWidth = 9090;
constexpr int kClientHeight = 7770;
constexpr int kPlotLeft = 3240;
// The report list, below the controls on the left.
constexpr int kListTop = 3000, kListWidth = 3135, kListHeight = 4545;
constexpr int kPlotWidth = 5655;
constexpr int kGeoTop = 0, kGeoHeight = 2775;
constexpr int kMachTop = 2880, kMachHeight = 2175;
constexpr int kPiPoTop = 5160, kPiPoHeight = 2415;
// The share of its screen's room the window opens with.
constexpr int kStartWidthPercent = 85, kStartHeightPercent = 85;
// The explanation panel's height in lines of its text.
constexpr int kExplanationLines = 6;

QFont sansFont(const QString& family, double points, bool italic = false)
{
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setItalic(italic);
    return font;
}

QString toQString(const std::string& text)
{
    return QString::fromStdString(text);
}

// A line that ends in "…" where the window is too narrow for it (the values
// under the cursor with an engine's units), its whole text a tooltip away;
// it never asks the window to be wider.
class ElidingLabel : public QLabel {
  public:
    using QLabel::QLabel;
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

  protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRect room = contentsRect();
        const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, room.width());
        painter.setPen(palette().color(foregroundRole()));
        painter.drawText(room, static_cast<int>(alignment()), shown);
        const QString tip = shown == text() ? QString() : text();
        if (toolTip() != tip) setToolTip(tip);
    }
};

} // namespace

void showNotConvergedBox(QWidget* parent, const std::string& message)
{
    QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, toQString(message), QMessageBox::Ok,
                    parent);
    box.setObjectName("NotConvergedBox");
    box.exec();
}

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent),
      saveError_([this](const QString& m) { QMessageBox::warning(this, kApplicationTitle, m); })
{
    setWindowTitle(kWindowCaption);
    setObjectName("Form1"); // Form1: the main form, this window
    setFont(sansFont("MS Sans Serif", 8.25));
    buildControls();
    // Form_Load: constants, station counts and the three boxes; nothing is
    // computed, listed or drawn until the first event.
    logic_ =
        WindowLogic(InputTexts{Text_Mmax->text().toStdString(), Text_AAmax->text().toStdString(),
                               Text_PePo->text().toStdString()});
    logic_.setNotConvergedHandler([this](const std::string& m) { showNotConvergedBox(this, m); });
    logic_.setCalculatedHandler([this] { emit calculated(); });
    elapsed_.start();
    clock_ = [this] { return static_cast<double>(elapsed_.nsecsElapsed()) / 1e9; };
    playTimer_.setTimerType(Qt::PreciseTimer);
    playTimer_.setInterval(5);
    connect(&playTimer_, &QTimer::timeout, this, &MainWindow::playTick);
    loadSettings();
    // The fonts of the zoom (the banner's and the explanation's are their
    // own) from the start, not only once the zoom changes.
    applyZoomToFonts();
    // The start-up flow, calculated and drawn before the window shows.
    dispatch({EventKind::Start});
    sizePlayBar();
    fitWindow();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls()
{
    targetStyle_ = new TargetSizeStyle(QApplication::style()->name());
    targetStyle_->setParent(this);
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("ClientScroll");
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    client_ = new QWidget;
    client_->setObjectName("ClientArea");
    scroll_->setWidget(client_);
    setCentralWidget(scroll_);
    client_->installEventFilter(this);

    auto label = [this](const char* name, const char* text, QWidget* parent) {
        auto* l = new QLabel(QString::fromUtf8(text), parent);
        l->setObjectName(name);
        return l;
    };
    auto textBox = [this](const char* name, const char* text) {
        auto* t = new QLineEdit(text, client_);
        t->setObjectName(name);
        t->setStyle(targetStyle_);
        return t;
    };
    auto bar = [this](const char* name, int maximum) {
        auto* b = new QScrollBar(Qt::Vertical, client_);
        b->setObjectName(name);
        b->setRange(1, maximum);
        b->setValue(1);
        b->setSingleStep(1);
        b->setPageStep(1);
        // Tab reaches the bars, and their arrow keys move them; a click
        // leaves the focus where it was (a box being typed in keeps it).
        b->setFocusPolicy(Qt::TabFocus);
        // The flow follows the thumb while it is dragged, position by
        // position.
        b->setTracking(true);
        return b;
    };
    auto plot = [this](const char* name, PlotKind kind) {
        auto* p = new PlotView(client_);
        p->setObjectName(name);
        p->setSource([this, kind](double width, double height) {
            return logic_.displayList(kind, width, height, logic_.zoom());
        });
        return p;
    };

    Label2 = label("Label2", "Me_Sup =", client_);
    Text_Mmax = textBox("Text_Mmax", "2");
    Label3 = label("Label3", "Amax/At =", client_);
    Text_AAmax = textBox("Text_AAmax", "3");
    Label1 = label("Label1", "Pe/Po =", client_);
    Text_PePo = textBox("Text_PePo", "1");
    VScroll1 = bar("VScroll1", kCoarseMax);
    VScroll2 = bar("VScroll2", kFineMax);
    for (QScrollBar* b : {VScroll1, VScroll2}) {
        auto* wide = new NarrowBarStyle(QApplication::style()->name());
        wide->setParent(b);
        b->setStyle(wide);
    }
    const ViewState start = logic_.view();
    coarseLabel_ = label("VScroll1_Label", start.coarse.label.c_str(), client_);
    fineLabel_ = label("VScroll2_Label", start.fine.label.c_str(), client_);
    for (QLabel* l : {coarseLabel_, fineLabel_}) l->setAlignment(Qt::AlignCenter);
    coarseMarks_ = new LimitMarks(VScroll1, client_);
    coarseMarks_->setObjectName("CoarseLimitMarks");
    fineMarks_ = new LimitMarks(VScroll2, client_);
    fineMarks_->setObjectName("FineLimitMarks");
    Command1 = new QPushButton("Calculate", client_);
    Command1->setObjectName("Command1");
    Command1->setStyle(targetStyle_);
    List1 = new QListWidget(client_);
    List1->setObjectName("List1");
    List1->setItemDelegate(new ReportLineDelegate(List1));
    // Each line's height follows the list's width (its meaning wraps). The
    // meanings scroll with the wheel and the keys; a bar of their own, coming
    // and going with their lengths, would move the plots.
    List1->setResizeMode(QListView::Adjust);
    List1->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    Picture_Geo = plot("Picture_Geo", PlotKind::Geometry);
    Picture_Mach = plot("Picture_Mach", PlotKind::Mach);
    Picture_PiPo = plot("Picture_PiPo", PlotKind::Third);
    Picture_Geo->setCursor(Qt::PointingHandCursor);
    Picture_Geo->setToolTip("Click to recalculate");

    const QFont axisFont = sansFont("MS Sans Serif", 8.25, true);
    for (auto* axis :
         {Label4 = label("Label4", "", Picture_Mach), Label5 = label("Label5", "", Picture_PiPo)}) {
        axis->setFont(axisFont);
        axis->setAutoFillBackground(true);
        QPalette palette = axis->palette();
        palette.setColor(QPalette::Window,
                         QColor(kPlotBackground.r, kPlotBackground.g, kPlotBackground.b));
        palette.setColor(QPalette::WindowText, Qt::black);
        axis->setPalette(palette);
    }

    // Tab order as the controls are numbered; labels and plots take no focus.
    setTabOrder(Text_PePo, Command1);
    setTabOrder(Command1, List1);
    setTabOrder(List1, Text_Mmax);
    setTabOrder(Text_Mmax, Text_AAmax);
    setTabOrder(Text_AAmax, VScroll1);
    setTabOrder(VScroll1, VScroll2);
    Text_PePo->setFocus();

    // The menus come from the logic's view; About is the window's own.
    menuBar()->setStyle(targetStyle_);
    aboutAction_ = menuBar()->addAction("About");
    aboutAction_->setObjectName("Mn_About");
    connect(aboutAction_, &QAction::triggered, this, &MainWindow::Mn_About_Click);
    for (const KeyBinding& k : logic_.extraKeys()) {
        if (!k.outsideBoxes) continue; // a box's own (Enter): bound with the boxes
        auto* a = new QAction(this);
        a->setShortcut(QKeySequence::fromString(QString::fromStdString(k.key)));
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, [this, k] {
            if (k.inBoxes || !qobject_cast<QLineEdit*>(QApplication::focusWidget()))
                dispatch(k.event);
        });
        addAction(a);
    }

    buildPlayBar();

    // The status line, and under it the engine's line while there is one.
    auto* lines = new QWidget(statusBar());
    lines->setObjectName("StatusLines");
    auto* stack = new QVBoxLayout(lines);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    statusLine_ = new ElidingLabel(lines);
    statusLine_->setObjectName("StatusLine");
    statusLine_->setTextFormat(Qt::PlainText);
    engineLine_ = new ElidingLabel(lines);
    engineLine_->setObjectName("EngineLine");
    engineLine_->setTextFormat(Qt::PlainText);
    engineLine_->hide();
    stack->addWidget(statusLine_);
    stack->addWidget(engineLine_);
    statusBar()->addWidget(lines, 1);
    statusBar()->setSizeGripEnabled(true);

    // Over the plots, in front of them, while the play stands still at a
    // limit.
    // It stands in the scroll area's frame, not in the client area, so that
    // it stays in sight when the client area scrolls.
    banner_ = new QLabel(scroll_);
    banner_->setObjectName("Banner");
    banner_->setTextFormat(Qt::PlainText);
    banner_->setAlignment(Qt::AlignCenter);
    banner_->setStyleSheet("QLabel { color: white; background: rgb(122, 16, 16);"
                           " border-radius: 4px; padding: 3px 10px; }");
    banner_->setAttribute(Qt::WA_TransparentForMouseEvents);
    banner_->hide();

    buildEngine(logic_.view().engine);

    // The explanation panel below the plots: a bottom dock without a title,
    // so the designed client area above it keeps its layout.
    explanation_ = new QLabel;
    explanation_->setObjectName("Explanation");
    explanation_->setTextFormat(Qt::PlainText);
    explanation_->setWordWrap(true);
    explanation_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    explanation_->setMargin(8);
    explanation_->setAutoFillBackground(true);
    QPalette panel = explanation_->palette();
    panel.setColor(QPalette::Window, QColor(255, 255, 232));
    explanation_->setPalette(panel);
    auto* dock = new QDockWidget(this);
    dock->setObjectName("ExplanationPanel");
    // An empty title bar: no height at all.
    auto* noTitle = new QWidget(dock);
    noTitle->setLayout(new QHBoxLayout);
    noTitle->layout()->setContentsMargins(0, 0, 0, 0);
    dock->setTitleBarWidget(noTitle);
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    // A panel of a fixed height, whatever its text: the plots above it keep
    // their size while the text changes in a play; a longer text scrolls.
    auto* explanationScroll = new QScrollArea;
    explanationScroll->setObjectName("ExplanationScroll");
    explanationScroll->setFrameShape(QFrame::NoFrame);
    explanationScroll->setWidgetResizable(true);
    explanationScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    explanationScroll->setWidget(explanation_);
    dock->setWidget(explanationScroll);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    dock->hide();

    connect(Command1, &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(Text_Mmax, &QLineEdit::textChanged, this, &MainWindow::Text_Mmax_Change);
    connect(Text_AAmax, &QLineEdit::textChanged, this, &MainWindow::Text_AAmax_Change);
    connect(Text_PePo, &QLineEdit::textChanged, this, &MainWindow::Text_PePo_Edited);
    // The logic's keys of the boxes: Enter is a box's returnPressed.
    std::vector<QLineEdit*> boxes{Text_Mmax, Text_AAmax, Text_PePo};
    boxes.insert(boxes.end(), engineBoxes_.begin(), engineBoxes_.end());
    for (const KeyBinding& k : logic_.extraKeys()) {
        if (k.key != "Enter" || !k.inBoxes) continue;
        for (QLineEdit* box : boxes)
            connect(box, &QLineEdit::returnPressed, this, [this, e = k.event] { dispatch(e); });
    }
    connect(Picture_Geo, &PlotView::clicked, this, &MainWindow::Picture_Geo_Click);
    for (PlotView* view : {Picture_Geo, Picture_Mach, Picture_PiPo}) {
        connect(view, &PlotView::hovered, this, [this, view](double px) {
            Event e{EventKind::Hover};
            e.plot = static_cast<int>(kindOf(view));
            e.number = px;
            e.width = view->width();
            dispatch(e);
        });
        connect(view, &PlotView::left, this, [this] { dispatch({EventKind::Leave}); });
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](const QPoint& pos) { showPlotMenu(view, pos); });
    }
    for (QScrollBar* b : {scroll_->horizontalScrollBar(), scroll_->verticalScrollBar()})
        connect(b, &QScrollBar::valueChanged, this, &MainWindow::placeBanner);
    connect(VScroll1, &QScrollBar::valueChanged, this, &MainWindow::VScroll1_Change);
    connect(VScroll2, &QScrollBar::valueChanged, this, &MainWindow::VScroll2_Change);

    client_->setMinimumSize(clientSizeHint());
    // Larger than any screen: a stray script or window manager cannot make
    // every scroll step repaint acres of plot.
    setMaximumSize(kMaximumWindowSize, kMaximumWindowSize);
    fitWindow();
}

void MainWindow::dispatch(Event event)
{
    event.time = now();
    logic_.handle(event);
    render();
}

// --- what the logic says, shown ---

// The engine's panel beside the plots: its boxes as the logic lists them,
// the altitude slider under them.
void MainWindow::buildEngine(const std::vector<EngineField>& fields)
{
    auto* group = new QGroupBox("Engine");
    group->setObjectName("EngineGroup");
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(2);
    int row = 0;
    for (const EngineField& f : fields) {
        auto* label = new QLabel(toQString(f.label), group);
        label->setObjectName(toQString(f.id) + "_Label");
        auto* box = new QLineEdit(group);
        box->setObjectName(toQString(f.id));
        box->setStyle(targetStyle_);
        label->setBuddy(box);
        const auto kind = static_cast<double>(engineBoxes_.size());
        connect(box, &QLineEdit::textChanged, this, [this, box, kind] {
            Event e(EventKind::EditEngine, box->text().toStdString());
            e.number = kind;
            dispatch(e);
        });
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        engineLabels_.push_back(label);
        engineBoxes_.push_back(box);
        ++row;
    }
    altitude_ = new QSlider(Qt::Horizontal, group);
    altitude_->setObjectName("AltitudeSlider");
    altitude_->setSingleStep(1);
    altitude_->setPageStep(10);
    altitude_->setTracking(true);
    altitude_->setMinimumHeight(kTargetSize);
    connect(altitude_, &QSlider::valueChanged, this, [this](int position) {
        dispatch(Event(EventKind::MoveAltitude, static_cast<double>(position)));
        repaintPlotsNow();
    });
    altitudeText_ = new QLabel(group);
    altitudeText_->setObjectName("AltitudeText");
    altitudeText_->setTextFormat(Qt::PlainText);
    grid->addWidget(altitude_, row++, 0, 1, 2);
    grid->addWidget(altitudeText_, row++, 0, 1, 2);

    auto* holder = new QWidget;
    auto* column = new QVBoxLayout(holder);
    column->setContentsMargins(4, 0, 4, 4);
    column->addWidget(group);
    column->addStretch(1);
    enginePanel_ = new QDockWidget(this);
    enginePanel_->setObjectName("EnginePanel");
    auto* noTitle = new QWidget(enginePanel_);
    noTitle->setLayout(new QHBoxLayout);
    noTitle->layout()->setContentsMargins(0, 0, 0, 0);
    enginePanel_->setTitleBarWidget(noTitle);
    enginePanel_->setFeatures(QDockWidget::NoDockWidgetFeatures);
    // The panel scrolls when the window is lower than its boxes (a laptop at
    // a large zoom); it keeps its width.
    engineScroll_ = new QScrollArea;
    engineScroll_->setObjectName("EngineScroll");
    engineScroll_->setFrameShape(QFrame::NoFrame);
    engineScroll_->setWidgetResizable(true);
    engineScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    engineScroll_->setWidget(holder);
    enginePanel_->setWidget(engineScroll_);
    addDockWidget(Qt::RightDockWidgetArea, enginePanel_);
    fitEnginePanel();
}

void MainWindow::renderEngine(const ViewState& v)
{
    for (std::size_t i = 0; i < v.engine.size() && i < engineBoxes_.size(); ++i) {
        const EngineField& f = v.engine[i];
        QLineEdit* box = engineBoxes_[i];
        // A box being typed in already holds the text the logic keeps.
        const QString text = toQString(f.text);
        if (box->text() != text) {
            const QSignalBlocker quiet(box);
            box->setText(text);
        }
        const QString placeholder = toQString(f.placeholder);
        if (box->placeholderText() != placeholder) box->setPlaceholderText(placeholder);
        const QString help = toQString(f.help);
        if (box->toolTip() != help) box->setToolTip(help);
        box->setEnabled(f.enabled);
        const QString label = toQString(f.label);
        if (engineLabels_[i]->text() != label) engineLabels_[i]->setText(label);
    }
    {
        const QSignalBlocker quiet(altitude_);
        altitude_->setRange(v.altitude.minimum, v.altitude.maximum);
        altitude_->setValue(v.altitude.position);
    }
    altitude_->setEnabled(v.altitudeEnabled);
    const QString altitude = toQString(v.altitude.valueText);
    if (altitudeText_->text() != altitude) {
        altitudeText_->setText(altitude);
        altitude_->setAccessibleDescription(altitude);
    }
    altitude_->setAccessibleName(toQString(v.altitude.name));
    const QString line = toQString(v.engineLine);
    if (engineLine_->text() != line) engineLine_->setText(line);
    if (engineLine_->isVisibleTo(this) == line.isEmpty()) {
        // The status bar is a line taller or shorter.
        engineLine_->setVisible(!line.isEmpty());
        fitWindow();
    }
}

// The play bar, as the page shows it: the Play menu's entries that play,
// step and reset, with the speed between Slower and Faster.
void MainWindow::buildPlayBar()
{
    playBar_ = new QToolBar("Play", this);
    playBar_->setObjectName("PlayBar");
    playBar_->setMovable(false);
    playBar_->setFloatable(false);
    playBar_->toggleViewAction()->setVisible(false);
    playBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, playBar_);
    const Menu play = logic_.view().menus.front();
    for (const MenuItem& item : play.items) {
        if (item.id == "ExplainToggle" || item.id == "Shortcuts") continue;
        if (item.separatorBefore) playBar_->addSeparator();
        const std::string id = item.id;
        // A click chooses the entry as the view lists it then.
        const auto chosen = [this, id] {
            const ViewState v = logic_.view();
            for (const MenuItem& it : v.menus.front().items)
                if (it.id == id) return choose(it);
        };
        QWidget* control = nullptr;
        if (item.checkable) {
            auto* box = new QCheckBox(toQString(item.label), playBar_);
            connect(box, &QCheckBox::clicked, this, chosen);
            control = box;
        } else {
            auto* button = new QPushButton(playBar_);
            button->setFocusPolicy(Qt::TabFocus);
            connect(button, &QPushButton::clicked, this, chosen);
            control = button;
        }
        control->setObjectName(toQString(id) + "_Button");
        control->setStyle(targetStyle_);
        playBar_->addWidget(control);
        playButtons_[id] = control;
        if (id == "PlaySlower") {
            speed_ = new QLabel(playBar_);
            speed_->setObjectName("PlaySpeed");
            speed_->setAlignment(Qt::AlignCenter);
            playBar_->addWidget(speed_);
        }
    }
}

// The buttons' texts, states and ticks as the logic says; a button that
// only steps shows its symbol, its label a tooltip away.
void MainWindow::renderPlayBar(const Menu& play, const std::string& speed)
{
    for (const MenuItem& item : play.items) {
        const auto found = playButtons_.find(item.id);
        if (found == playButtons_.end()) continue;
        QWidget* control = found->second;
        const QString tip = toQString(item.label) +
                            (item.key.empty() ? QString() : " (" + toQString(item.key) + ")");
        if (auto* box = qobject_cast<QCheckBox*>(control)) {
            box->setText(toQString(item.label));
            box->setChecked(item.checked);
        } else if (auto* button = qobject_cast<QPushButton*>(control)) {
            const bool compact = item.id == "PlaySlower" || item.id == "PlayFaster" ||
                                 item.id == "StepDown" || item.id == "StepUp";
            const QString text = compact || item.icon.empty()
                                     ? toQString(compact ? item.icon : item.label)
                                     : toQString(item.icon + " " + item.label);
            if (button->text() != text) button->setText(text);
            button->setAccessibleName(toQString(item.label));
        }
        if (control->toolTip() != tip) control->setToolTip(tip);
        control->setEnabled(item.enabled);
    }
    const QString shown = toQString(speed);
    if (speed_->text() != shown) speed_->setText(shown);
}

// Each button as wide as the widest text it takes, so that nothing moves
// when a label changes (Play and Pause), and at least 24 pixels square.
void MainWindow::sizePlayBar()
{
    const Menu play = logic_.view().menus.front();
    for (const MenuItem& item : play.items) {
        const auto found = playButtons_.find(item.id);
        if (found == playButtons_.end()) continue;
        auto* button = qobject_cast<QPushButton*>(found->second);
        if (!button) continue;
        const QString text = button->text();
        int width = 0;
        for (const QString& t : {text, toQString(item.widest)}) {
            if (t.isEmpty()) continue;
            button->setText(t);
            button->setMinimumSize(0, 0);
            button->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
            width = std::max(width, button->sizeHint().width());
        }
        button->setText(text);
        button->setFixedSize(std::max(width, kTargetSize),
                             std::max(button->sizeHint().height(), kTargetSize));
    }
    int width = 0;
    for (const PlaySpeed s : {PlaySpeed::Slow, PlaySpeed::Normal, PlaySpeed::Fast})
        width = std::max(
            width, speed_->fontMetrics().horizontalAdvance(toQString(std::string(speedName(s)))));
    speed_->setFixedWidth(width + speed_->fontMetrics().averageCharWidth() * 2);
}

void MainWindow::renderBanner(const std::string& text)
{
    const QString shown = toQString(text);
    if (banner_->text() == shown && banner_->isVisibleTo(this) == !text.empty()) return;
    banner_->setText(shown);
    banner_->setVisible(!text.empty());
    placeBanner();
}

// The banner centred at the top of the plots, as the page shows it, or at
// the top of the part of them in sight when the client area scrolls.
void MainWindow::placeBanner()
{
    if (!banner_->isVisibleTo(this)) return;
    QRect all;
    for (PlotView* view : {Picture_Geo, Picture_Mach, Picture_PiPo})
        if (logic_.plotShown(kindOf(view))) all |= view->geometry();
    const QRect inFrame(client_->mapTo(scroll_, all.topLeft()), all.size());
    QRect plots = inFrame & scroll_->viewport()->geometry();
    if (plots.isEmpty()) plots = scroll_->viewport()->geometry();
    const QSize size = banner_->sizeHint().boundedTo(plots.size());
    const int margin = banner_->fontMetrics().height() / 2;
    banner_->setGeometry(plots.center().x() - size.width() / 2, plots.top() + margin, size.width(),
                         size.height());
    banner_->raise();
}

// The list of keys, a window of its own while the logic says it is shown;
// closing it tells the logic.
void MainWindow::renderKeys(const ViewState& v)
{
    if (v.shortcutsShown == keysShown_) return;
    keysShown_ = v.shortcutsShown;
    if (!keysShown_) {
        if (keys_) keys_->hide();
        return;
    }
    if (!keys_) {
        keys_ = new QDialog(this);
        keys_->setObjectName("KeysDialog");
        keys_->setWindowTitle("Keyboard shortcuts");
        keys_->setFont(sansFont("MS Sans Serif", 8.25 * zoom_));
        auto* grid = new QGridLayout(keys_);
        grid->setHorizontalSpacing(16);
        int row = 0;
        for (const KeyHelp& k : v.keys) {
            auto* key = new QLabel(toQString(k.key), keys_);
            QFont bold = key->font();
            bold.setBold(true);
            key->setFont(bold);
            grid->addWidget(key, row, 0);
            grid->addWidget(new QLabel(toQString(k.what), keys_), row, 1);
            ++row;
        }
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, keys_);
        connect(buttons, &QDialogButtonBox::rejected, keys_, &QDialog::reject);
        grid->addWidget(buttons, row, 0, 1, 2);
        connect(keys_, &QDialog::finished, this, [this] {
            if (keysShown_) dispatch(Event(EventKind::Shortcuts, 0.0));
        });
    }
    keys_->show();
    keys_->raise();
    keys_->activateWindow();
}

void MainWindow::render()
{
    const ViewState v = logic_.view();
    const QSignalBlocker blockMe(Text_Mmax), blockAmax(Text_AAmax), blockPePo(Text_PePo);
    for (auto [box, text] : {std::pair{Text_Mmax, &v.boxes.me_sup},
                             {Text_AAmax, &v.boxes.amax},
                             {Text_PePo, &v.boxes.pe_po}}) {
        const QString shown = toQString(*text);
        if (box->text() != shown) box->setText(shown);
    }
    {
        const QSignalBlocker coarse(VScroll1), fine(VScroll2);
        VScroll1->setValue(v.coarse.position);
        VScroll2->setValue(v.fine.position);
    }
    statusLine_->setStyleSheet(v.statusIsRefusal ? "color: rgb(200, 0, 0);" : "");
    // What a screen reader is told of the bars and the plots.
    for (const auto& [bar, state] :
         {std::pair{VScroll1, &v.coarse}, std::pair{VScroll2, &v.fine}}) {
        const QString name = toQString(state->name), text = toQString(state->valueText);
        if (bar->accessibleName() != name) bar->setAccessibleName(name);
        if (bar->accessibleDescription() != text) bar->setAccessibleDescription(text);
    }
    for (std::size_t kind = 0; kind < v.plots.size(); ++kind) {
        PlotView* plot = std::array{Picture_Geo, Picture_Mach, Picture_PiPo}[kind];
        const QString name = toQString(v.plots[kind].description);
        if (plot->accessibleName() != name) plot->setAccessibleName(name);
    }
    coarseLabel_->setText(toQString(v.coarse.label));
    fineLabel_->setText(toQString(v.fine.label));
    const QString status = toQString(v.status);
    if (statusLine_->text() != status) statusLine_->setText(status);
    if (v.report != shownReport_) {
        shownReport_ = v.report;
        List1->clear();
        for (std::size_t i = 0; i < v.report.size(); ++i) {
            auto* item = new QListWidgetItem(toQString(v.report[i]));
            if (i < v.reportHelp.size()) item->setToolTip(toQString(v.reportHelp[i]));
            List1->addItem(item);
        }
        layoutClient(); // the list may need to be wider for its lines
    }
    const QString explanation = toQString(v.explanation);
    if (explanation_->text() != explanation) explanation_->setText(explanation);
    const std::array<int, 5> pictures{v.plots[0].revision, v.plots[1].revision, v.plots[2].revision,
                                      sectionOf<SettingsView>(v).revision, v.banner.empty()};
    if (pictures != shownPictures_) {
        shownPictures_ = pictures;
        for (PlotView* view : {Picture_Geo, Picture_Mach, Picture_PiPo}) view->update();
        Label4->setText(toQString(v.plots[1].caption));
        Label5->setText(toQString(v.plots[2].caption));
    }
    renderLimitMarks(v.limitMarks);
    renderEngine(v);
    renderBanner(v.banner);
    renderProjector(v);
    renderMenus(v.menus);
    renderPlayBar(v.menus.front(), v.speed);
    renderKeys(v);
    renderExplanation(v.explanationShown);
    if (v.zoom != zoom_) {
        const bool free = isVisible() && !isMaximized() && !isFullScreen();
        if (zoom_ == 1.0 && free) beforeZoom_ = geometry();
        zoom_ = v.zoom;
        applyZoomToFonts();
        fitWindow();
        if (zoom_ == 1.0 && free && beforeZoom_.isValid()) {
            const QScopedValueRollback<bool> fitting(fitting_, true);
            setGeometry(beforeZoom_);
            userExtra_ = (scroll_->size() - clientSizeHint()).expandedTo(QSize(0, 0));
            layoutClient();
        }
        if (zoom_ == 1.0) beforeZoom_ = {};
    }
    if (v.playing && !playTimer_.isActive()) playTimer_.start();
    if (!v.playing) playTimer_.stop();
    saveSettings();
}

// The projector view: the plots' texts as the logic draws them, the plots
// it shows filling the client area, the status line and the banner in
// letters for the back row; the window takes its screen's room while it
// lasts and gets its place back after.
void MainWindow::renderProjector(const ViewState& v)
{
    for (PlotView* view : {Picture_Geo, Picture_Mach, Picture_PiPo})
        view->setVisible(logic_.plotShown(kindOf(view)));
    // The projector's plots draw their captions themselves, as large as
    // their other texts.
    Label4->setVisible(!v.projector);
    Label5->setVisible(!v.projector);
    if (v.projector == shownProjector_ && v.projectorPlot == shownProjectorPlot_ &&
        v.statusSize == shownStatusSize_)
        return;
    const bool entering = v.projector && !shownProjector_;
    const bool leaving = !v.projector && shownProjector_;
    // The window's place to go back to, before its letters grow.
    if (entering && isVisible() && !isMaximized() && !isFullScreen()) beforeProjector_ = geometry();
    shownProjector_ = v.projector;
    shownProjectorPlot_ = v.projectorPlot;
    shownStatusSize_ = v.statusSize;
    shownBannerSize_ = v.bannerSize;
    applyZoomToFonts();
    // The status bar takes the height of its new font before the window
    // takes its new place.
    for (QWidget* bar : {statusLine_->parentWidget(), static_cast<QWidget*>(statusBar())}) {
        QEvent request(QEvent::LayoutRequest);
        QCoreApplication::sendEvent(bar, &request);
    }
    layout()->invalidate();
    layout()->activate();
    if (entering) {
        takeScreen();
    } else if (leaving && beforeProjector_.isValid()) {
        setGeometry(beforeProjector_);
        beforeProjector_ = {};
    }
    layoutClient();
}

// The projector view takes the room of the window's screen (a window
// shown later takes it when it shows).
void MainWindow::takeScreen()
{
    if (!isVisible() || isMaximized() || isFullScreen()) return;
    if (!beforeProjector_.isValid()) beforeProjector_ = geometry();
    const QRect room = screen()->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    move(room.topLeft());
    resize(room.size() - frame);
}

void MainWindow::renderLimitMarks(const std::vector<LimitMark>& marks)
{
    std::vector<LimitMarks::Mark> coarse, fine;
    for (const LimitMark& m : marks) {
        const QString name = toQString(m.tooltip);
        coarse.push_back({m.coarse, name});
        fine.push_back({m.fine, name});
    }
    coarseMarks_->setMarks(std::move(coarse));
    fineMarks_->setMarks(std::move(fine));
}

void MainWindow::renderMenus(const std::vector<Menu>& menus)
{
    if (menus == shownMenus_) return;
    for (const Menu& m : menus) {
        auto* menu = menuBar()->findChild<QMenu*>(toQString(m.id));
        if (!menu) {
            menu = new QMenu(toQString(m.title), menuBar());
            menu->setObjectName(toQString(m.id));
            menu->setStyle(targetStyle_);
            scaleMenuFont(menu);
            menuBar()->insertMenu(aboutAction_, menu);
        }
        fillMenu(menu, m);
    }
    shownMenus_ = menus;
}

// The entries of a menu as the logic lists them: rebuilt when the list
// changes, otherwise only their text, tick and state follow.
void MainWindow::fillMenu(QMenu* menu, const Menu& m)
{
    QList<QAction*> actions;
    for (QAction* a : menu->actions()) {
        if (!a->isSeparator()) actions << a;
    }
    bool same = actions.size() == static_cast<int>(m.items.size());
    for (std::size_t i = 0; same && i < m.items.size(); ++i)
        same = actions[static_cast<int>(i)]->objectName() == toQString(m.items[i].id);
    if (!same) {
        menu->clear();
        std::map<std::string, QActionGroup*> groups;
        for (const MenuItem& item : m.items) {
            if (item.separatorBefore) menu->addSeparator();
            QAction* a = menu->addAction(toQString(item.label));
            a->setObjectName(toQString(item.id));
            if (!item.key.empty()) {
                a->setShortcut(QKeySequence::fromString(toQString(item.key)));
                a->setShortcutContext(Qt::WindowShortcut);
            }
            if (!item.group.empty()) {
                QActionGroup*& group = groups[item.group];
                if (!group) group = new QActionGroup(menu);
                group->addAction(a);
            }
            const std::string id = item.id;
            const std::string menuId = m.id;
            connect(a, &QAction::triggered, this, [this, menuId, id] {
                for (const Menu& shown : shownMenus_) {
                    for (const MenuItem& it : shown.items) {
                        if (shown.id == menuId && it.id == id) return choose(it);
                    }
                }
            });
        }
        actions.clear();
        for (QAction* a : menu->actions()) {
            if (!a->isSeparator()) actions << a;
        }
    }
    for (std::size_t i = 0; i < m.items.size(); ++i) {
        const MenuItem& item = m.items[i];
        QAction* a = actions[static_cast<int>(i)];
        a->setText(toQString(item.label));
        a->setCheckable(item.checkable);
        a->setChecked(item.checked);
        a->setEnabled(item.enabled);
    }
}

void MainWindow::choose(const MenuItem& item)
{
    Event e = item.event;
    if (item.asks) {
        const std::optional<std::string> typed = askOtherGas();
        if (!typed) {
            // Nothing chosen: the menu shows the gas there is.
            shownMenus_.clear();
            render();
            return;
        }
        e.text = *typed;
    }
    dispatch(e);
}

// The "Other…" dialog: k, and the molar mass for an engine's thrust. Both
// answers as the one text the logic reads (k, a tab, the molar mass when
// there is one), or nothing when the dialog was cancelled.
std::optional<std::string> MainWindow::askOtherGas()
{
    const GasPrompt prompt = logic_.otherGasPrompt();
    QDialog dialog(this);
    dialog.setObjectName("OtherGasDialog");
    dialog.setWindowTitle(toQString(prompt.title));
    auto* form = new QFormLayout(&dialog);
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    auto* k = new QLineEdit(toQString(prompt.initial), &dialog);
    k->setObjectName("OtherGas_k");
    auto* molar = new QLineEdit(toQString(prompt.molarInitial), &dialog);
    molar->setObjectName("OtherGas_molar");
    form->addRow(toQString(prompt.question), k);
    form->addRow(toQString(prompt.molarQuestion), molar);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    k->selectAll();
    k->setFocus();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    // Both answers always: an emptied molar mass means no molar mass, as on
    // the page (the logic decides what each answer does).
    return k->text().toStdString() + "\t" + molar->text().toStdString();
}

QAction* MainWindow::menuAction(const std::string& id) const
{
    return menuBar()->findChild<QAction*>(toQString(id));
}

void MainWindow::playTick()
{
    dispatch({EventKind::Tick});
    repaintPlotsNow();
}

bool MainWindow::explanationShown() const
{
    return explanationPanel()->isVisibleTo(this);
}

QString MainWindow::explanationText() const
{
    return explanation_->text();
}

QDockWidget* MainWindow::explanationPanel() const
{
    return findChild<QDockWidget*>("ExplanationPanel", Qt::FindDirectChildrenOnly);
}

void MainWindow::renderExplanation(bool shown)
{
    QDockWidget* dock = explanationPanel();
    if (shown == dock->isVisibleTo(this)) return;
    // The window grows (or shrinks) by the panel; the client area stays
    // unless the screen is too small for both.
    dock->setVisible(shown);
    fitWindow();
}

void MainWindow::applyZoomToFonts()
{
    const double zoom = zoom_;
    client_->setFont(sansFont("MS Sans Serif", 8.25 * zoom));
    const QFont axisFont = sansFont("MS Sans Serif", 8.25 * zoom, true);
    Label4->setFont(axisFont);
    Label5->setFont(axisFont);
    statusLine_->setFont(sansFont("MS Sans Serif", 8.25 * zoom));
    engineLine_->setFont(sansFont("MS Sans Serif", 8.25 * zoom));
    enginePanel_->setFont(sansFont("MS Sans Serif", 8.25 * zoom));
    fitEnginePanel();
    QFont bannerFont = sansFont("MS Sans Serif", 11 * zoom);
    bannerFont.setBold(true);
    if (shownBannerSize_ > 0) bannerFont.setPixelSize(static_cast<int>(shownBannerSize_));
    banner_->setFont(bannerFont);
    if (shownStatusSize_ > 0) {
        QFont large = sansFont("MS Sans Serif", 8.25);
        large.setPixelSize(static_cast<int>(shownStatusSize_));
        statusLine_->setFont(large);
    }
    if (keys_) keys_->setFont(sansFont("MS Sans Serif", 8.25 * zoom));
    explanation_->setFont(sansFont("MS Sans Serif", 9 * zoom));
    menuBar()->setFont(sansFont("MS Sans Serif", 8.25 * zoom));
    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) scaleMenuFont(menu);
    playBar_->setFont(sansFont("MS Sans Serif", 8.25 * zoom));
    for (const auto& [id, control] : playButtons_)
        control->setFont(sansFont("MS Sans Serif", 8.25 * zoom));
    speed_->setFont(sansFont("MS Sans Serif", 8.25 * zoom));
    sizePlayBar();
}

// The engine's panel as wide as its boxes and a scroll bar beside them.
void MainWindow::fitEnginePanel()
{
    if (!engineScroll_) return;
    engineScroll_->setMinimumWidth(engineScroll_->widget()->sizeHint().width() +
                                   engineScroll_->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

// A menu is a window of its own and takes no font from the menu bar: the
// application's menu font, zoomed.
void MainWindow::scaleMenuFont(QMenu* menu) const
{
    QFont font = QApplication::font("QMenu");
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * zoom_);
    else
        font.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * zoom_)));
    menu->setFont(font);
}

// The height of a report line without its meaning.
int MainWindow::reportLineHeight() const
{
    const int measured = List1->count() > 0 ? List1->sizeHintForRow(0) : 0;
    const int line = static_cast<const ReportLineDelegate*>(List1->itemDelegate())->lineHeight();
    return measured > 0 && line > 0 ? line : List1->fontMetrics().height();
}

// The smallest client area at the applied zoom: its designed size at
// 100 %, and at least the controls on the left with the report's lines
// whole (its most lines, so a calculation never needs more).
QSize MainWindow::clientFloor() const
{
    const double plain = layoutDpi(this);
    const double dpi = plain * zoom_;
    // Room for the lines; their meanings may scroll.
    const int lines = kReportLines * reportLineHeight() + 2 * List1->frameWidth();
    const int height = twipsToPixels(kListTop, dpi) + lines +
                       twipsToPixels(kClientHeight - kListTop - kListHeight, dpi);
    const int width =
        twipsToPixels(kClientWidth - kPlotWidth, dpi) + twipsToPixels(kPlotWidth, plain);
    return QSize(std::max(twipsToPixels(kClientWidth, plain), width),
                 std::max(twipsToPixels(kClientHeight, plain), height))
        .boundedTo(clientSizeHint());
}

// The window around the client area the zoom and the user ask for (the
// designed size and the room the user added), with the play bar, the menus,
// the status lines and the explanation panel (a fixed number of lines of
// its font, a third of the screen at most), as large as the screen it is on
// allows: what does not fit comes off the plots (layoutClient), and below
// the client area's smallest size the client area scrolls. A maximised or
// full-screen window keeps its size.
void MainWindow::fitWindow()
{
    const QScopedValueRollback<bool> fitting(fitting_, true);
    const QSize designed = clientSizeHint();
    const QSize floor = clientFloor();
    const bool free = !isMaximized() && !isFullScreen();
    const QRect room = screen()->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    client_->setMinimumSize(floor);
    if (explanationPanel()->isVisibleTo(this)) {
        const QFontMetrics lines(explanation_->font());
        const int height = kExplanationLines * lines.lineSpacing() + 2 * explanation_->margin();
        explanationPanel()->setFixedHeight(std::min(height, room.height() / 3));
    }
    // The status bar takes the height of its new font only on a layout
    // request; it is needed now.
    QEvent request(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(statusBar(), &request);
    layout()->invalidate();
    layout()->activate();
    if (!free) {
        layoutClient();
        return;
    }
    const QSize chrome = size() - scroll_->size();
    const QSize most = (room.size() - frame - chrome).expandedTo(QSize(1, 1));
    const QSize client = (designed + userExtra_).boundedTo(most);
    resize(client + chrome);
    layoutClient();
    if (isVisible()) keepOnScreen();
}

// Moves the window's frame into the room of its screen, as far as it fits.
void MainWindow::keepOnScreen()
{
    const QRect room = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const int x = std::max(room.left(), std::min(frame.left(), room.right() + 1 - frame.width()));
    const int y = std::max(room.top(), std::min(frame.top(), room.bottom() + 1 - frame.height()));
    if (x != frame.left() || y != frame.top()) move(x, y);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (QWindow* window = windowHandle())
        connect(window, &QWindow::screenChanged, this, &MainWindow::fitWindow,
                Qt::UniqueConnection);
    if (!shownBefore_ && !isMaximized() && !isFullScreen()) {
        // The first time: the window takes most of its screen, centred, the
        // plots the room beyond the designed size.
        const QRect room = screen()->availableGeometry();
        const QSize frame = frameGeometry().size() - size();
        const QSize chrome = size() - scroll_->size();
        const QSize wanted(room.width() * kStartWidthPercent / 100,
                           room.height() * kStartHeightPercent / 100);
        userExtra_ = (wanted - frame - chrome - clientSizeHint()).expandedTo(QSize(0, 0));
        fitWindow();
        const QRect now = frameGeometry();
        move(room.center() - QPoint(now.width() / 2, now.height() / 2));
        keepOnScreen();
    }
    shownBefore_ = true;
    // A window larger than its screen (a zoom kept from a larger screen).
    if (!screen()->availableGeometry().contains(frameGeometry())) fitWindow();
    if (shownProjector_) takeScreen();
}

// The settings the logic keeps between runs, in the user's settings; the
// box texts are not among them: the program always opens with its
// start-up values.
void MainWindow::saveSettings()
{
    std::vector<Setting> now = logic_.settings();
    if (now == savedSettings_) return;
    QSettings settings;
    for (const Setting& s : now) settings.setValue(toQString(s.key), toQString(s.value));
    savedSettings_ = std::move(now);
}

void MainWindow::loadSettings()
{
    QSettings settings;
    for (const Setting& s : logic_.settings()) {
        const QVariant stored = settings.value(toQString(s.key));
        if (stored.isValid())
            logic_.handle(Event(EventKind::Setting, s.key + "=" + stored.toString().toStdString()));
    }
    savedSettings_ = logic_.settings();
}

QSize MainWindow::clientSizeHint() const
{
    const double dpi = layoutDpi(this) * zoom_;
    return {twipsToPixels(kClientWidth, dpi), twipsToPixels(kClientHeight, dpi)};
}

void MainWindow::layoutClient()
{
    const double dpi = layoutDpi(this) * zoom_;
    // Boxes and bars at least 24 pixels (360 twips at 96 dpi) across; the
    // bars reach from the first box to the foot of "Calculate", each named
    // above it.
    Label2->setGeometry(twipsRect(360, 360, 855, 360, dpi));
    Text_Mmax->setGeometry(twipsRect(1320, 360, 735, 360, dpi));
    Label3->setGeometry(twipsRect(360, 840, 975, 360, dpi));
    Text_AAmax->setGeometry(twipsRect(1320, 840, 735, 360, dpi));
    Label1->setGeometry(twipsRect(360, 1320, 735, 360, dpi));
    Text_PePo->setGeometry(twipsRect(1320, 1320, 735, 360, dpi));
    VScroll1->setGeometry(twipsRect(2220, 360, 360, 2295, dpi));
    VScroll2->setGeometry(twipsRect(2700, 360, 360, 2295, dpi));
    Command1->setGeometry(twipsRect(720, 2160, 1455, 495, dpi));
    coarseMarks_->setGeometry(twipsRect(2580, 360, 105, 2295, dpi));
    fineMarks_->setGeometry(twipsRect(3060, 360, 105, 2295, dpi));
    coarseLabel_->setGeometry(twipsRect(2100, 60, 600, 285, dpi));
    fineLabel_->setGeometry(twipsRect(2640, 60, 600, 285, dpi));
    Label4->setGeometry(twipsRect(120, 120, 255, 255, dpi));
    Label5->setGeometry(twipsRect(0, 120, 495, 255, dpi));

    // The list keeps its designed place; it is wider when a line would not
    // fit (the fonts do not grow exactly with the zoom), and shorter when
    // the client area is shorter than designed.
    const QSize base = clientSizeHint();
    QRect list = twipsRect(0, kListTop, kListWidth, kListHeight, dpi);
    list.setHeight(std::max(1, list.height() + std::min(0, client_->height() - base.height())));
    // Room for a scroll bar beside the lines when the lines alone need one;
    // the meanings beneath them scroll within that width, so the plots
    // beside the list do not move when their lengths change.
    const int frame = 2 * List1->frameWidth();
    const bool scrolls =
        List1->count() > 0 && List1->count() * reportLineHeight() + frame > list.height();
    List1->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    const int lines = List1->sizeHintForColumn(0) + frame +
                      (scrolls ? List1->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0);
    list.setWidth(std::max(list.width(), lines));
    List1->setGeometry(list);

    // The plots take whatever the window has beyond its designed size, and
    // give up what it lacks: the width, and the height shared in proportion
    // to their heights. A wider list pushes them right.
    const int extraHeight = client_->height() - base.height();
    const int totalHeight = kGeoHeight + kMachHeight + kPiPoHeight;
    const int left = std::max(twipsToPixels(kPlotLeft, dpi),
                              list.right() + 1 + twipsToPixels(kPlotLeft - kListWidth, dpi));
    const int width = std::max(1, twipsToPixels(kPlotWidth, dpi) + client_->width() - base.width() -
                                      (left - twipsToPixels(kPlotLeft, dpi)));
    int shift = 0;
    auto place = [&](PlotView* view, int top, int height) {
        const int extra = extraHeight * height / totalHeight;
        view->setGeometry(left, twipsToPixels(top, dpi) + shift, width,
                          std::max(1, twipsToPixels(height, dpi) + extra));
        shift += extra;
    };
    if (logic_.projector()) {
        // The plots shown share the client area's whole height in
        // proportion to their designed heights, a designed gap apart.
        const int gap = twipsToPixels(kMachTop - kGeoTop - kGeoHeight, dpi);
        const std::pair<PlotView*, int> plots[] = {
            {Picture_Geo, kGeoHeight}, {Picture_Mach, kMachHeight}, {Picture_PiPo, kPiPoHeight}};
        int shown = 0, gaps = -gap;
        for (const auto& [view, height] : plots) {
            if (!logic_.plotShown(kindOf(view))) continue;
            shown += height;
            gaps += gap;
        }
        const int room = std::max(1, client_->height() - gaps);
        int top = 0;
        for (const auto& [view, height] : plots) {
            if (!logic_.plotShown(kindOf(view))) continue;
            const int h = std::max(1, room * height / std::max(1, shown));
            view->setGeometry(left, top, width, h);
            top += h + gap;
        }
        placeBanner();
        return;
    }
    place(Picture_Geo, kGeoTop, kGeoHeight);
    place(Picture_Mach, kMachTop, kMachHeight);
    place(Picture_PiPo, kPiPoTop, kPiPoHeight);
    placeBanner();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Resize) return QMainWindow::eventFilter(watched, event);
    if (watched == client_) {
        // The user's own resize: the room beyond the designed size stays
        // the plots' through zooms and the explanation's changes.
        if (!fitting_ && isVisible() && !isMaximized() && !isFullScreen())
            userExtra_ = (client_->size() - clientSizeHint()).expandedTo(QSize(0, 0));
        layoutClient();
    }
    return QMainWindow::eventFilter(watched, event);
}

QString MainWindow::statusText() const
{
    return statusLine_->text();
}

bool MainWindow::statusShowsRefusal() const
{
    return !statusLine_->styleSheet().isEmpty();
}

PlotKind MainWindow::kindOf(const PlotView* view) const
{
    return view == Picture_Geo    ? PlotKind::Geometry
           : view == Picture_Mach ? PlotKind::Mach
                                  : PlotKind::Third;
}

void MainWindow::Command1_Click()
{
    dispatch({EventKind::Calculate});
}

void MainWindow::Text_PePo_Edited()
{
    dispatch(Event(EventKind::EditPePo, Text_PePo->text().toStdString()));
}

void MainWindow::Text_Mmax_Change()
{
    dispatch(Event(EventKind::EditMeSup, Text_Mmax->text().toStdString()));
}

void MainWindow::Text_AAmax_Change()
{
    dispatch(Event(EventKind::EditAmax, Text_AAmax->text().toStdString()));
}

void MainWindow::Picture_Geo_Click()
{
    dispatch({EventKind::ClickGeometry});
}

// The logic runs the whole chain of the two bars; the window shows the end
// of it and repaints once, so each step is on screen before the next.
void MainWindow::VScroll1_Change(int position)
{
    dispatch(Event(EventKind::MoveCoarse, static_cast<double>(position)));
    repaintPlotsNow();
}

void MainWindow::VScroll2_Change(int position)
{
    dispatch(Event(EventKind::MoveFine, static_cast<double>(position)));
    repaintPlotsNow();
}

// Each scroll step is on screen before the next one is taken.
// One repaint for the three plots, so the window is flushed once.
void MainWindow::repaintPlotsNow()
{
    client_->repaint(Picture_Geo->geometry() | Picture_Mach->geometry() | Picture_PiPo->geometry());
}

void MainWindow::showPlotMenu(PlotView* view, const QPoint& position)
{
    const Menu items = logic_.plotMenu(kindOf(view));
    if (items.items.empty()) return; // none before a flow is drawn
    QMenu menu(this);
    menu.setObjectName(toQString(items.id));
    menu.setStyle(targetStyle_);
    scaleMenuFont(&menu);
    std::vector<std::pair<QAction*, const MenuItem*>> chosen;
    QActionGroup group(&menu);
    for (const MenuItem& item : items.items) {
        if (item.separatorBefore) menu.addSeparator();
        QAction* a = menu.addAction(toQString(item.label));
        a->setObjectName(toQString(item.id));
        a->setCheckable(item.checkable);
        a->setChecked(item.checked);
        a->setEnabled(item.enabled);
        if (!item.group.empty()) group.addAction(a);
        chosen.push_back({a, &item});
    }
    QAction* picked = menu.exec(view->mapToGlobal(position));
    for (const auto& [a, item] : chosen) {
        if (a != picked) continue;
        if (item->event.kind == EventKind::Export)
            exportFile(kindOf(view), item->event.text);
        else
            dispatch(item->event);
    }
}

// An export asked for from a plot's menu: the logic makes the file, the
// window asks where it goes (or puts the picture on the clipboard).
void MainWindow::exportFile(PlotKind plot, const std::string& format)
{
    Event e{EventKind::Export};
    e.plot = static_cast<int>(plot);
    e.text = format;
    dispatch(e);
    const ExportFile& f = logic_.lastExport();
    if (f.toClipboard) {
        QGuiApplication::clipboard()->setImage(renderImage(f.picture));
        return;
    }
    // The file's type by what it holds (the thrust over altitude is a CSV
    // table too).
    const QString filter = f.mime == "text/csv"        ? "CSV table (*.csv)"
                           : f.mime == "image/svg+xml" ? "SVG image (*.svg)"
                                                       : "PNG image (*.png)";
    QString path = QFileDialog::getSaveFileName(this, "Save", toQString(f.name), filter);
    if (path.isEmpty()) return;
    // A bare name gets the extension of the name the logic gave.
    if (QFileInfo(path).suffix().isEmpty()) path += "." + QFileInfo(toQString(f.name)).suffix();
    writeExport(path);
}

// Writes the logic's last export to path, whole or not at all; false after
// telling the user why not.
bool MainWindow::writeExport(const QString& path)
{
    const ExportFile& f = logic_.lastExport();
    std::optional<QString> failure;
    if (f.painted) {
        failure = saveImage(path, f.picture, ImageFormat::Png);
    } else if (const auto e = saveExport(path.toStdString(), f)) {
        failure = toQString(*e);
    }
    if (failure) saveError_(QString("Could not save %1: %2").arg(path, *failure));
    return !failure;
}

void MainWindow::copyPlotImage(const PlotView* view)
{
    exportFile(kindOf(view), "copy");
}

bool MainWindow::savePlotImage(const PlotView* view, const QString& path, ImageFormat format)
{
    Event e{EventKind::Export};
    e.plot = static_cast<int>(kindOf(view));
    e.text = format == ImageFormat::Svg ? "svg" : "png";
    dispatch(e);
    return writeExport(path);
}

bool MainWindow::saveStationCsv(const QString& path)
{
    Event e{EventKind::Export};
    e.plot = static_cast<int>(PlotKind::Third);
    e.text = "csv";
    dispatch(e);
    return writeExport(path);
}

void MainWindow::Mn_About_Click()
{
    if (!about_) about_ = new AboutWindow(this);
    about_->show();
    about_->raise();
    about_->activateWindow();
}

namespace {

std::string quoteJson(const QString& text)
{
    return jsonQuoted(text.toStdString());
}

} // namespace

std::string MainWindow::shownJson() const
{
    std::string menus = "[";
    for (QAction* top : menuBar()->actions()) {
        QMenu* menu = top->menu();
        if (!menu) continue;
        menus += (menus.size() > 1 ? "," : "") + std::string("{\"title\":") +
                 quoteJson(menu->title()) + ",\"items\":[";
        bool first = true;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator()) continue;
            menus += (first ? "" : ",") + std::string("{\"id\":") + quoteJson(a->objectName()) +
                     ",\"label\":" + quoteJson(a->text()) +
                     ",\"checked\":" + (a->isChecked() ? "true" : "false") +
                     ",\"enabled\":" + (a->isEnabled() ? "true" : "false") + "}";
            first = false;
        }
        menus += "]}";
    }
    menus += "]";
    std::string report = "[";
    for (int i = 0; i < List1->count(); ++i)
        report += (i ? "," : "") + quoteJson(List1->item(i)->text());
    report += "]";
    std::string engine = "[";
    for (const QLineEdit* box : engineBoxes_)
        engine += (engine.size() > 1 ? "," : "") + quoteJson(box->text());
    engine += "]";
    return "{\"boxes\":[" + quoteJson(Text_Mmax->text()) + "," + quoteJson(Text_AAmax->text()) +
           "," + quoteJson(Text_PePo->text()) + "],\"bars\":[" + std::to_string(VScroll1->value()) +
           "," + std::to_string(VScroll2->value()) + "],\"barNames\":[[" +
           quoteJson(VScroll1->accessibleName()) + "," +
           quoteJson(VScroll1->accessibleDescription()) + "],[" +
           quoteJson(VScroll2->accessibleName()) + "," +
           quoteJson(VScroll2->accessibleDescription()) + "]],\"plotNames\":[" +
           quoteJson(Picture_Geo->accessibleName()) + "," +
           quoteJson(Picture_Mach->accessibleName()) + "," +
           quoteJson(Picture_PiPo->accessibleName()) +
           "],\"status\":" + quoteJson(statusLine_->text()) +
           ",\"refusal\":" + (statusLine_->styleSheet().isEmpty() ? "false" : "true") +
           ",\"report\":" + report + ",\"explanation\":" + quoteJson(explanation_->text()) +
           ",\"explanationShown\":" + (logic_.explanationShown() ? "true" : "false") +
           ",\"thirdCaption\":" + quoteJson(Label5->text()) + ",\"menus\":" + menus +
           ",\"engine\":" + engine + ",\"engineLine\":" + quoteJson(engineLine_->text()) +
           ",\"altitude\":" + std::to_string(altitude_->value()) +
           ",\"altitudeEnabled\":" + (altitude_->isEnabled() ? "true" : "false") + "}";
}

} // namespace cdnozzle
