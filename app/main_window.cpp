#include "main_window.h"

#include "about_window.h"
#include "number_text.h"
#include "plot_render.h"
#include "plot_view.h"
#include "plots/back_pressure_bars.h"
#include "regime_summary.h"
#include "station_data.h"
#include "twips.h"

#include <QClipboard>
#include <QEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>

namespace cdnozzle {

namespace {

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
      notConverged_([this](const std::string& m) { showNotConvergedBox(this, m); }),
      saveError_([this](const QString& m) { QMessageBox::warning(this, kApplicationTitle, m); })
{
    setWindowTitle(kWindowCaption);
    setObjectName("Form1");
    setFont(sansFont("MS Sans Serif", 8.25));
    buildControls();
    // Form_Load: constants, station counts and the three boxes; nothing is
    // computed, listed or drawn until the first event.
    model_ =
        NozzleModel(InputTexts{Text_Mmax->text().toStdString(), Text_AAmax->text().toStdString(),
                               Text_PePo->text().toStdString()});
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
        connect(view, &PlotView::hovered, this, [this, view](double x) { showHover(view, x); });
        connect(view, &PlotView::left, this, &MainWindow::restoreStatus);
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](const QPoint& pos) { showPlotMenu(view, pos); });
    }
    Picture_Mach->setCaption("M");
    Picture_PiPo->setCaption("p/p0");
    connect(VScroll1, &QScrollBar::valueChanged, this, &MainWindow::VScroll1_Change);
    connect(VScroll2, &QScrollBar::valueChanged, this, &MainWindow::VScroll2_Change);

    client_->setMinimumSize(clientSizeHint());
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

void MainWindow::Calc_Flow()
{
    const InputTexts texts{Text_Mmax->text().toStdString(), Text_AAmax->text().toStdString(),
                           Text_PePo->text().toStdString()};
    if (const auto refusal = model_.calculate(texts, notConverged_)) {
        showRefusal(*refusal);
        return;
    }
    ++calculations_;
    Picture_Geo->setScene(model_.geometryScene());
    Picture_Mach->setScene(model_.machScene());
    Picture_PiPo->setScene(model_.pressureScene());
    List1->clear();
    for (const std::string& line : model_.result().report.lines()) List1->addItem(toQString(line));
    showRegime();
    emit calculated();
}

void MainWindow::setStatus(StatusKind kind, const QString& text)
{
    statusKind_ = kind;
    statusBaseText_ = text;
    restoreStatus();
}

void MainWindow::restoreStatus()
{
    statusLine_->setStyleSheet(statusKind_ == StatusKind::Refusal ? "color: rgb(200, 0, 0);" : "");
    statusLine_->setText(statusBaseText_);
}

void MainWindow::showHover(PlotView* view, double x)
{
    if (!model_.calculated()) return;
    const PlotKind kind = view == Picture_Geo    ? PlotKind::Geometry
                          : view == Picture_Mach ? PlotKind::Mach
                                                 : PlotKind::Pressure;
    statusLine_->setStyleSheet({});
    statusLine_->setText(toQString(hoverReadout(model_.state(), kind, x)));
}

void MainWindow::showRefusal(const std::string& message)
{
    setStatus(StatusKind::Refusal, toQString(message));
}

void MainWindow::showRegime()
{
    setStatus(StatusKind::Regime, toQString(regimeSummary(model_.state(), model_.result())));
}

void MainWindow::Command1_Click()
{
    Calc_Flow();
}

void MainWindow::Text_PePo_Edited()
{
    setStatus(StatusKind::PendingPePo, "Press Calculate to use the Pe/Po typed in the box");
}

// An edit of either design box rebuilds the nozzle and recalculates; the
// calculation opens with the geometry run itself.
void MainWindow::Text_Mmax_Change()
{
    Calc_Flow();
}
void MainWindow::Text_AAmax_Change()
{
    Calc_Flow();
}
void MainWindow::Picture_Geo_Click()
{
    Calc_Flow();
}

void MainWindow::writePePoText(double pepo)
{
    Text_PePo->setText(toQString(formatGeneral(pepo)));
}

// What the calculation reads from the box: the bar's value rounded to
// 15 significant digits, which the other bar is matched to.
double MainWindow::pepoInBox() const
{
    return readLeadingNumber(Text_PePo->text().toStdString());
}

void MainWindow::VScroll1_Change(int position)
{
    ++scrollDepth_;
    writePePoText(coarsePePo(position));
    Calc_Flow();
    // Nested: the fine bar's own handler runs inside setValue when it moves.
    VScroll2->setValue(std::clamp(finePositionFor(pepoInBox()), kFineMin, kFineMax));
    if (--scrollDepth_ == 0) repaintPlotsNow();
}

void MainWindow::VScroll2_Change(int position)
{
    ++scrollDepth_;
    writePePoText(finePePo(position));
    Calc_Flow();
    const int coarse = coarsePositionFor(pepoInBox());
    if (coarse > kCoarseMax) {
        // Fine positions 997..1000 lie below the coarse bar's end: park the
        // coarse bar there without letting it snap the back pressure.
        const QSignalBlocker blocker(VScroll1);
        VScroll1->setValue(kCoarseMax);
    } else {
        VScroll1->setValue(std::max(coarse, kCoarseMin));
    }
    if (--scrollDepth_ == 0) repaintPlotsNow();
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
        const QString path =
            QFileDialog::getSaveFileName(this, "Save image", view->objectName() + ".png",
                                         "PNG image (*.png);;SVG image (*.svg)");
        if (!path.isEmpty()) savePlotImage(view, path);
    } else if (chosen == saveCsv) {
        const QString path = QFileDialog::getSaveFileName(this, "Save data as CSV", "stations.csv",
                                                          "CSV table (*.csv)");
        if (!path.isEmpty()) saveStationCsv(path);
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

bool MainWindow::savePlotImage(const PlotView* view, const QString& path)
{
    const auto failure = saveFigure(path, figureOf(view));
    if (failure) saveError_(QString("Could not save %1: %2").arg(path, *failure));
    return !failure;
}

bool MainWindow::saveStationCsv(const QString& path)
{
    const auto failure = saveBytes(path, QByteArray::fromStdString(stationCsv(model_.state())));
    if (failure) saveError_(QString("Could not save %1: %2").arg(path, *failure));
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
