#include "main_window.h"

#include "about_window.h"
#include "io/file_output.h"
#include "text/number_text.h"
#include "plot_render.h"
#include "plot_view.h"
#include "panel/back_pressure_bars.h"
#include "results/regime_summary.h"
#include "results/station_data.h"
#include "twips.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalBlocker>
#include <QStatusBar>

namespace cdnozzle {

namespace {

// The fine bar is 9 px wide, narrower than the style's own scroll bars, and
// the style would draw its arrows for the wider bar, cut off at the edge.
// This style takes the bar's real width as the scroll-bar extent, so the
// arrows are laid out and drawn to fit.
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

// The client area and the plots' part of it, in twips.
constexpr int kClientWidth = 9090;
constexpr int kClientHeight = 7770;
constexpr int kPlotLeft = 3240;
constexpr int kPlotWidth = 5655;
constexpr int kGeoTop = 0, kGeoHeight = 2775;
constexpr int kMachTop = 2880, kMachHeight = 2175;
constexpr int kPiPoTop = 5160, kPiPoHeight = 2415;

const QColor kBackground(255, 255, 192);

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
    setObjectName("Form1");
    setFont(sansFont("MS Sans Serif", 8.25));
    buildControls();
    // Form_Load: constants, station counts and the three boxes; nothing is
    // computed, listed or drawn until the first event.
    logic_ =
        WindowLogic(InputTexts{Text_Mmax->text().toStdString(), Text_AAmax->text().toStdString(),
                               Text_PePo->text().toStdString()});
    logic_.setNotConvergedHandler([this](const std::string& m) { showNotConvergedBox(this, m); });
    logic_.setCalculatedHandler([this] {
        showCalculation();
        emit calculated();
    });
    elapsed_.start();
    clock_ = [this] { return static_cast<double>(elapsed_.nsecsElapsed()) / 1e9; };
    playTimer_.setTimerType(Qt::PreciseTimer);
    playTimer_.setInterval(5);
    connect(&playTimer_, &QTimer::timeout, this, &MainWindow::playTick);
    loadSettings();
    updatePlayControls();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls()
{
    client_ = new QWidget(this);
    client_->setObjectName("ClientArea");
    setCentralWidget(client_);
    client_->installEventFilter(this);

    auto label = [this](const char* name, const char* text, QWidget* parent) {
        auto* l = new QLabel(QString::fromUtf8(text), parent);
        l->setObjectName(name);
        return l;
    };
    auto textBox = [this](const char* name, const char* text) {
        auto* t = new QLineEdit(text, client_);
        t->setObjectName(name);
        return t;
    };
    auto bar = [this](const char* name, int maximum) {
        auto* b = new QScrollBar(Qt::Vertical, client_);
        b->setObjectName(name);
        b->setRange(1, maximum);
        b->setValue(1);
        b->setSingleStep(1);
        b->setPageStep(1);
        // Only the released thumb changes the back pressure, not every
        // intermediate position of a drag.
        b->setTracking(false);
        return b;
    };
    auto plot = [this](const char* name) {
        auto* p = new PlotView(client_);
        p->setObjectName(name);
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
    auto* narrow = new NarrowBarStyle(QApplication::style()->name());
    narrow->setParent(VScroll2);
    VScroll2->setStyle(narrow);
    Command1 = new QPushButton("Calculate", client_);
    Command1->setObjectName("Command1");
    List1 = new QListWidget(client_);
    List1->setObjectName("List1");
    Picture_Geo = plot("Picture_Geo");
    Picture_Mach = plot("Picture_Mach");
    Picture_PiPo = plot("Picture_PiPo");
    Picture_Geo->setCursor(Qt::PointingHandCursor);
    Picture_Geo->setToolTip("Click to recalculate");

    const QFont axisFont = sansFont("MS Sans Serif", 8.25, true);
    for (auto* axis : {Label4 = label("Label4", "M", Picture_Mach),
                      Label5 = label("Label5", "p/p0", Picture_PiPo)}) {
        axis->setFont(axisFont);
        axis->setAutoFillBackground(true);
        QPalette palette = axis->palette();
        palette.setColor(QPalette::Window, kBackground);
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

    buildMenus();

    statusLine_ = new QLabel(statusBar());
    statusLine_->setObjectName("StatusLine");
    statusLine_->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(statusLine_, 1);
    statusBar()->setSizeGripEnabled(true);

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
    dock->setTitleBarWidget(new QWidget(dock));
    dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    dock->setWidget(explanation_);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    dock->hide();

    connect(Command1, &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(Text_Mmax, &QLineEdit::textChanged, this, &MainWindow::Text_Mmax_Change);
    connect(Text_AAmax, &QLineEdit::textChanged, this, &MainWindow::Text_AAmax_Change);
    connect(Text_PePo, &QLineEdit::textEdited, this, &MainWindow::Text_PePo_Edited);
    connect(Picture_Geo, &PlotView::clicked, this, &MainWindow::Picture_Geo_Click);
    for (PlotView* view : {Picture_Geo, Picture_Mach, Picture_PiPo}) {
        connect(view, &PlotView::hovered, this, [this, view](double x) {
            logic_.hover(kindOf(view), x);
            showLogic();
        });
        connect(view, &PlotView::left, this, [this] {
            logic_.leavePlot();
            showLogic();
        });
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](const QPoint& pos) { showPlotMenu(view, pos); });
    }
    Picture_Mach->setCaption("M");
    Picture_PiPo->setCaption("p/p0");
    connect(VScroll1, &QScrollBar::valueChanged, this, &MainWindow::VScroll1_Change);
    connect(VScroll2, &QScrollBar::valueChanged, this, &MainWindow::VScroll2_Change);

    client_->setMinimumSize(clientSizeHint());
    // Larger than any screen: a stray script or window manager cannot make
    // every scroll step repaint acres of plot.
    setMaximumSize(kMaximumWindowSize, kMaximumWindowSize);
    layoutClient();
    resize(sizeHint().expandedTo(minimumSizeHint()));
}

void MainWindow::buildMenus()
{
    QMenu* play = menuBar()->addMenu("Play");
    play->setObjectName("Mn_Play");
    // Function keys only: the boxes keep the focus while the play runs, and
    // no shortcut may take a key that is typed into them.
    auto action = [this, play](const char* name, const QString& text, QKeySequence key, auto slot) {
        QAction* a = play->addAction(text);
        a->setObjectName(name);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    playAction_ = action("Mn_PlayPause", "Play", QKeySequence(Qt::Key_F5), [this] {
        logic_.playOrPause(now());
        showLogic();
    });
    reverseAction_ = action("Mn_Reverse", "Reverse", QKeySequence(Qt::SHIFT | Qt::Key_F5), [this] {
        logic_.playReverse(now());
        showLogic();
    });
    slowerAction_ = action("Mn_Slower", "Slower", QKeySequence(Qt::Key_F6), [this] {
        if (logic_.playSpeed() != PlaySpeed::Slow)
            logic_.setPlaySpeed(static_cast<PlaySpeed>(static_cast<int>(logic_.playSpeed()) - 1),
                                now());
        updatePlayControls();
        saveSettings();
    });
    fasterAction_ = action("Mn_Faster", "Faster", QKeySequence(Qt::Key_F7), [this] {
        if (logic_.playSpeed() != PlaySpeed::Fast)
            logic_.setPlaySpeed(static_cast<PlaySpeed>(static_cast<int>(logic_.playSpeed()) + 1),
                                now());
        updatePlayControls();
        saveSettings();
    });
    pauseAtLimitsAction_ =
        action("Mn_PauseAtLimits", "Pause at the limits", QKeySequence(), [this](bool on) {
            logic_.setPauseAtLimits(on);
            saveSettings();
        });
    pauseAtLimitsAction_->setCheckable(true);
    pauseAtLimitsAction_->setChecked(true);
    play->addSeparator();
    explainAction_ = action("Mn_Explain", "Explain", QKeySequence(Qt::Key_F1),
                            [this](bool on) { setExplanationShown(on); });
    explainAction_->setCheckable(true);

    // Other gases: everything follows k; air is the program's own.
    QMenu* gas = menuBar()->addMenu("Gas");
    gas->setObjectName("Mn_Gas");
    auto* gases = new QActionGroup(gas);
    for (const NamedGas& g : kGases) {
        const QString name = QString::fromUtf8(g.name.data(), static_cast<int>(g.name.size()));
        QAction* a = gas->addAction(
            QString("%1 (k = %2)")
                .arg(name.left(1).toUpper() + name.mid(1), toQString(formatRounded4(g.k))));
        a->setObjectName("Mn_Gas_" + name);
        a->setCheckable(true);
        a->setChecked(g.k == kAirK);
        gases->addAction(a);
        connect(a, &QAction::triggered, this, [this, g] {
            takePePoText();
            logic_.setListedGas(std::string(g.name));
            showLogic();
        });
    }
    QAction* other = gas->addAction("Other…");
    other->setObjectName("Mn_Gas_Other");
    other->setCheckable(true);
    gases->addAction(other);
    connect(other, &QAction::triggered, this, [this] {
        bool ok = false;
        const double k = QInputDialog::getDouble(
            this, "Other gas", "Ratio of specific heats k (1.05 to 1.7):", logic_.gasK(), kMinK,
            kMaxK, 4, &ok);
        if (ok)
            setGas(k);
        else
            updateGasMenu();
    });

    QAction* about = menuBar()->addAction("About");
    about->setObjectName("Mn_About");
    connect(about, &QAction::triggered, this, &MainWindow::Mn_About_Click);

    // Zoom for the projector, from anywhere in the window.
    auto zoomAction = [this](const char* name, QList<QKeySequence> keys, auto slot) {
        auto* a = new QAction(this);
        a->setObjectName(name);
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
    };
    zoomAction("ZoomIn", {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)},
               [this] { zoomIn(); });
    zoomAction("ZoomOut", {QKeySequence::ZoomOut}, [this] { zoomOut(); });
    zoomAction("ZoomReset", {QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { setZoom(1.0); });
}

void MainWindow::setGas(double k)
{
    takePePoText();
    logic_.setGas(gasNameFor(k), k);
    showLogic();
    updateGasMenu();
}

void MainWindow::updateGasMenu()
{
    const QString chosen = "Mn_Gas_" + toQString(logic_.gasName());
    QAction* match = findChild<QAction*>(chosen);
    (match ? match : findChild<QAction*>("Mn_Gas_Other"))->setChecked(true);
}

void MainWindow::setThirdPlot(PlotQuantity quantity)
{
    logic_.setThirdPlot(quantity);
    const QString caption = toQString(std::string(quantityCaption(quantity)));
    Label5->setText(caption);
    Picture_PiPo->setCaption(caption);
    if (logic_.calculated()) Picture_PiPo->setScene(logic_.model().pressureScene());
}

void MainWindow::updatePlayControls()
{
    const bool playing = logic_.playing();
    playAction_->setText(playing ? "Pause" : "Play");
    slowerAction_->setEnabled(logic_.playSpeed() != PlaySpeed::Slow);
    fasterAction_->setEnabled(logic_.playSpeed() != PlaySpeed::Fast);
    static const char* names[] = {"slow", "normal", "fast"};
    const QString speed = QString("Speed: %1").arg(names[static_cast<int>(logic_.playSpeed())]);
    slowerAction_->setStatusTip(speed);
    fasterAction_->setStatusTip(speed);
    if (playing && !playTimer_.isActive()) playTimer_.start();
    if (!playing) playTimer_.stop();
}

void MainWindow::playTick()
{
    if (logic_.tick(now())) {
        showLogic();
        repaintPlotsNow();
    } else {
        updatePlayControls();
    }
}

bool MainWindow::explanationShown() const
{
    return explanation_->parentWidget()->isVisibleTo(this);
}

QString MainWindow::explanationText() const
{
    return explanation_->text();
}

int MainWindow::explanationHeight() const
{
    return static_cast<int>(std::lround(110 * zoom_));
}

void MainWindow::setExplanationShown(bool shown)
{
    QWidget* dock = explanation_->parentWidget();
    if (shown == dock->isVisibleTo(this)) return;
    explainAction_->setChecked(shown);
    // The window grows (or shrinks) by the panel; the client area stays.
    const int keep = client_->height();
    dock->setFixedHeight(explanationHeight());
    dock->setVisible(shown);
    if (isMaximized() || isFullScreen()) return;
    // Lay the window out with the panel, then give back what it took.
    layout()->activate();
    resize(width(), height() + keep - client_->height());
}

void MainWindow::setZoom(double zoom)
{
    zoom = std::clamp(std::round(zoom / kZoomStep) * kZoomStep, kZoomMin, kZoomMax);
    if (zoom == zoom_) return;
    const QSize oldBase = clientSizeHint();
    const QSize extra = client_->size() - oldBase;
    const int oldPanel = explanationShown() ? explanationHeight() : 0;
    zoom_ = zoom;
    applyZoomToFonts();
    const int panelGrowth = explanationShown() ? explanationHeight() - oldPanel : 0;
    explanation_->parentWidget()->setFixedHeight(explanationHeight());
    for (PlotView* view : {Picture_Geo, Picture_Mach, Picture_PiPo}) view->setLineWidth(zoom_);
    client_->setMinimumSize(clientSizeHint());
    layoutClient();
    if (!isMaximized() && !isFullScreen()) {
        // Keep whatever extra room the user gave the plots.
        const QSize grow = clientSizeHint() + extra.expandedTo(QSize(0, 0)) - client_->size();
        resize(size() + grow + QSize(0, panelGrowth));
    }
    saveSettings();
}

void MainWindow::applyZoomToFonts()
{
    client_->setFont(sansFont("MS Sans Serif", 8.25 * zoom_));
    const QFont axisFont = sansFont("MS Sans Serif", 8.25 * zoom_, true);
    Label4->setFont(axisFont);
    Label5->setFont(axisFont);
    statusLine_->setFont(sansFont("MS Sans Serif", 8.25 * zoom_));
    explanation_->setFont(sansFont("MS Sans Serif", 9 * zoom_));
}

// Zoom, speed and "Pause at the limits" are remembered between runs; the
// box texts are not: the program always opens with its start-up values.
void MainWindow::saveSettings() const
{
    QSettings settings;
    settings.setValue("zoom", zoom_);
    settings.setValue("playSpeed", static_cast<int>(logic_.playSpeed()));
    settings.setValue("pauseAtLimits", logic_.pauseAtLimits());
}

void MainWindow::loadSettings()
{
    QSettings settings;
    const int speed = settings.value("playSpeed", 1).toInt();
    if (speed >= 0 && speed <= 2) logic_.setPlaySpeed(static_cast<PlaySpeed>(speed), now());
    const bool pause = settings.value("pauseAtLimits", true).toBool();
    logic_.setPauseAtLimits(pause);
    pauseAtLimitsAction_->setChecked(pause);
    bool ok = false;
    const double zoom = settings.value("zoom", 1.0).toDouble(&ok);
    if (ok && std::isfinite(zoom)) setZoom(zoom);
}

QSize MainWindow::clientSizeHint() const
{
    const double dpi = layoutDpi(this) * zoom_;
    return {twipsToPixels(kClientWidth, dpi), twipsToPixels(kClientHeight, dpi)};
}

void MainWindow::layoutClient()
{
    const double dpi = layoutDpi(this) * zoom_;
    Label2->setGeometry(twipsRect(360, 360, 855, 255, dpi));
    Text_Mmax->setGeometry(twipsRect(1320, 360, 735, 285, dpi));
    Label3->setGeometry(twipsRect(360, 840, 975, 255, dpi));
    Text_AAmax->setGeometry(twipsRect(1320, 840, 735, 285, dpi));
    Label1->setGeometry(twipsRect(360, 1320, 735, 255, dpi));
    Text_PePo->setGeometry(twipsRect(1320, 1320, 735, 285, dpi));
    VScroll1->setGeometry(twipsRect(2040, 1200, 255, 615, dpi));
    VScroll2->setGeometry(twipsRect(2400, 1200, 135, 615, dpi));
    Command1->setGeometry(twipsRect(720, 2160, 1455, 495, dpi));
    List1->setGeometry(twipsRect(0, 3000, 3135, 4545, dpi));
    Label4->setGeometry(twipsRect(120, 120, 255, 255, dpi));
    Label5->setGeometry(twipsRect(0, 120, 495, 255, dpi));

    // The plots take whatever the window has beyond its designed size: all
    // the extra width, and the extra height shared in proportion to their
    // heights.
    const QSize base = clientSizeHint();
    const int extraWidth = std::max(0, client_->width() - base.width());
    const int extraHeight = std::max(0, client_->height() - base.height());
    const int totalHeight = kGeoHeight + kMachHeight + kPiPoHeight;
    const int left = twipsToPixels(kPlotLeft, dpi);
    const int width = twipsToPixels(kPlotWidth, dpi) + extraWidth;
    int shift = 0;
    auto place = [&](PlotView* view, int top, int height) {
        const int extra = extraHeight * height / totalHeight;
        view->setGeometry(left, twipsToPixels(top, dpi) + shift, width,
                          twipsToPixels(height, dpi) + extra);
        shift += extra;
    };
    place(Picture_Geo, kGeoTop, kGeoHeight);
    place(Picture_Mach, kMachTop, kMachHeight);
    place(Picture_PiPo, kPiPoTop, kPiPoHeight);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == client_ && event->type() == QEvent::Resize) layoutClient();
    return QMainWindow::eventFilter(watched, event);
}

QString MainWindow::statusText() const
{
    return statusLine_->text();
}

void MainWindow::showCalculation()
{
    const NozzleModel& model = logic_.model();
    Picture_Geo->setScene(model.geometryScene());
    Picture_Mach->setScene(model.machScene());
    Picture_PiPo->setScene(model.pressureScene());
    List1->clear();
    for (const std::string& line : logic_.reportLines()) List1->addItem(toQString(line));
    explanation_->setText(toQString(logic_.explanation()));
}

void MainWindow::showLogic()
{
    const QString pepo = toQString(logic_.texts().pe_po);
    if (Text_PePo->text() != pepo) Text_PePo->setText(pepo);
    {
        const QSignalBlocker coarse(VScroll1), fine(VScroll2);
        VScroll1->setValue(logic_.coarsePosition());
        VScroll2->setValue(logic_.finePosition());
    }
    statusLine_->setStyleSheet(logic_.statusIsRefusal() ? "color: rgb(200, 0, 0);" : "");
    statusLine_->setText(toQString(logic_.statusText()));
    updatePlayControls();
}

PlotKind MainWindow::kindOf(const PlotView* view) const
{
    return view == Picture_Geo    ? PlotKind::Geometry
           : view == Picture_Mach ? PlotKind::Mach
                                  : PlotKind::Pressure;
}

// The text in "Pe/Po =" as the user left it (it may have been set without
// an edit notification).
void MainWindow::takePePoText()
{
    const std::string typed = Text_PePo->text().toStdString();
    if (typed != logic_.texts().pe_po) logic_.editPePo(typed);
}

void MainWindow::Command1_Click()
{
    takePePoText();
    logic_.pressCalculate();
    showLogic();
}

void MainWindow::Text_PePo_Edited()
{
    logic_.editPePo(Text_PePo->text().toStdString());
    showLogic();
}

void MainWindow::Text_Mmax_Change()
{
    takePePoText();
    logic_.editMeSup(Text_Mmax->text().toStdString());
    showLogic();
}

void MainWindow::Text_AAmax_Change()
{
    takePePoText();
    logic_.editAmax(Text_AAmax->text().toStdString());
    showLogic();
}

void MainWindow::Picture_Geo_Click()
{
    takePePoText();
    logic_.clickGeometry();
    showLogic();
}

// The logic runs the whole chain of the two bars; the window shows the end
// of it and repaints once, so each step is on screen before the next.
void MainWindow::VScroll1_Change(int position)
{
    logic_.moveCoarse(position);
    showLogic();
    repaintPlotsNow();
}

void MainWindow::VScroll2_Change(int position)
{
    logic_.moveFine(position);
    showLogic();
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
    if (!view->hasScene()) return;
    QMenu menu(this);
    menu.setObjectName("PlotMenu");
    // The third plot shows p/p0, T/T0 or rho/rho0.
    QActionGroup quantities(&menu);
    if (view == Picture_PiPo) {
        for (PlotQuantity q :
             {PlotQuantity::Pressure, PlotQuantity::Temperature, PlotQuantity::Density}) {
            QAction* a = menu.addAction("Show " + toQString(std::string(quantityCaption(q))));
            a->setCheckable(true);
            a->setChecked(logic_.thirdPlot() == q);
            quantities.addAction(a);
            connect(a, &QAction::triggered, this, [this, q] { setThirdPlot(q); });
        }
        menu.addSeparator();
    }
    QAction* copy = menu.addAction("Copy image");
    QAction* saveImage = menu.addAction("Save image…");
    QAction* saveCsv = menu.addAction("Save data as CSV…");
    QAction* chosen = menu.exec(view->mapToGlobal(position));
    if (chosen == copy) {
        copyPlotImage(view);
    } else if (chosen == saveImage) {
        const QString png = "PNG image (*.png)", svg = "SVG image (*.svg)";
        QString filter = png;
        QString path = QFileDialog::getSaveFileName(this, "Save image", view->objectName() + ".png",
                                                    png + ";;" + svg, &filter);
        if (path.isEmpty()) return;
        // The chosen filter decides the format; a bare name gets its extension.
        const bool asSvg = filter == svg;
        if (QFileInfo(path).suffix().isEmpty()) path += asSvg ? ".svg" : ".png";
        savePlotImage(view, path, asSvg ? ImageFormat::Svg : ImageFormat::Png);
    } else if (chosen == saveCsv) {
        QString path = QFileDialog::getSaveFileName(this, "Save data as CSV", "stations.csv",
                                                    "CSV table (*.csv)");
        if (path.isEmpty()) return;
        if (QFileInfo(path).suffix().isEmpty()) path += ".csv";
        saveStationCsv(path);
    }
}

// One plot as it is exported.
DisplayList MainWindow::exportOf(const PlotView* view) const
{
    return exportedPlot(kindOf(view), view->scene(), view->caption().toStdString());
}

void MainWindow::copyPlotImage(const PlotView* view) const
{
    QGuiApplication::clipboard()->setImage(renderImage(exportOf(view)));
}

bool MainWindow::savePlotImage(const PlotView* view, const QString& path, ImageFormat format)
{
    const auto failure = saveImage(path, exportOf(view), format);
    if (failure) saveError_(QString("Could not save %1: %2").arg(path, *failure));
    return !failure;
}

bool MainWindow::saveStationCsv(const QString& path)
{
    const auto failure = saveFile(path.toStdString(), stationCsv(logic_.model().state()));
    if (failure) saveError_(QString("Could not save %1: %2").arg(path, toQString(*failure)));
    return !failure;
}

void MainWindow::Mn_About_Click()
{
    if (!about_) about_ = new AboutWindow(this);
    about_->show();
    about_->raise();
    about_->activateWindow();
}

} // namespace cdnozzle
