#include "main_window.h"

#include "about_window.h"
#include "file_output.h"
#include "number_text.h"
#include "plot_render.h"
#include "plot_view.h"
#include "plots/back_pressure_bars.h"
#include "regime_summary.h"
#include "station_data.h"
#include "twips.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QScrollBar>
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

    QAction* about = menuBar()->addAction("About");
    about->setObjectName("Mn_About");
    connect(about, &QAction::triggered, this, &MainWindow::Mn_About_Click);

    statusLine_ = new QLabel(statusBar());
    statusLine_->setObjectName("StatusLine");
    statusLine_->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(statusLine_, 1);
    statusBar()->setSizeGripEnabled(true);

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

QSize MainWindow::clientSizeHint() const
{
    const double dpi = layoutDpi(this);
    return {twipsToPixels(kClientWidth, dpi), twipsToPixels(kClientHeight, dpi)};
}

void MainWindow::layoutClient()
{
    const double dpi = layoutDpi(this);
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

namespace {

// One plot as the window shows it now.
Figure figureOf(const PlotView* view)
{
    return {{{&view->scene(), view->caption(), double(view->height())}}, double(view->width())};
}

} // namespace

void MainWindow::copyPlotImage(const PlotView* view) const
{
    QGuiApplication::clipboard()->setImage(renderFigure(figureOf(view)));
}

bool MainWindow::savePlotImage(const PlotView* view, const QString& path, ImageFormat format)
{
    const auto failure = saveFigure(path, figureOf(view), format);
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
