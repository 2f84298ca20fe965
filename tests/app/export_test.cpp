// SPDX-License-Identifier: MIT
// Figures and data out of the window: the context menu's actions, and the
// values under the cursor.
#include "gui_test_support.h"

#include "results/station_data.h"
#include "text/number_text.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace cdnozzle {

namespace {

struct Calculated {
    Calculated()
    {
        test::box(w, "Text_PePo")->setText("0.8");
        w.Command1_Click();
        w.setSaveErrorHandler([this](const QString& m) { errors << m; });
    }
    MainWindow w;
    QStringList errors;
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(name); }
};

bool isRed(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 150 && qBlue(c) < 150;
}

} // namespace

TEST(Export, PngOfTheGeometryPlotIsLargeAndShowsTheShock)
{
    Calculated t;
    PlotView* geo = test::plot(t.w, "Picture_Geo");
    ASSERT_TRUE(t.w.savePlotImage(geo, t.path("geo.png"), ImageFormat::Png));
    const QImage image(t.path("geo.png"));
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 1200);
    // The plot in its proportions, and the band with the scenario under it.
    EXPECT_NEAR(double(image.height()) / image.width(),
                double(geo->height() + kStampBand) / geo->width(), 0.01);
    const PlotScene& scene = t.w.logic().scene(PlotKind::Geometry);
    auto column = [&](double x) {
        return int((x - scene.left) / (scene.right - scene.left) * image.width());
    };
    auto redIn = [&](int c) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y) n += isRed(image.pixel(c, y));
        return n;
    };
    EXPECT_GT(redIn(column(1.575)) + redIn(column(1.575) + 1), 50);
    EXPECT_EQ(redIn(column(1.2)), 0);
}

TEST(Export, SvgParsesAndHoldsTheShockLine)
{
    Calculated t;
    // The format is the one asked for, whatever the name says.
    ASSERT_TRUE(
        t.w.savePlotImage(test::plot(t.w, "Picture_Geo"), t.path("geo.png"), ImageFormat::Svg));
    QSvgRenderer svg(t.path("geo.png"));
    EXPECT_TRUE(svg.isValid());
    QFile file(t.path("geo.png"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains("stroke=\"#d55e00\"")) << "no stroke in the shock's colour";
    // The Mach plot carries its caption.
    ASSERT_TRUE(
        t.w.savePlotImage(test::plot(t.w, "Picture_Mach"), t.path("mach.svg"), ImageFormat::Svg));
    QFile mach(t.path("mach.svg"));
    ASSERT_TRUE(mach.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(mach.readAll()).contains(">M<"));
}

TEST(Export, CsvRoundTripsToTheStationArrays)
{
    Calculated t;
    ASSERT_TRUE(t.w.saveStationCsv(t.path("stations.csv")));
    QFile file(t.path("stations.csv"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 102);
    EXPECT_EQ(lines[0], "i,x,y,AA,M,PiPo,T_T0,rho_rho0,V_astar");
    const FlowState& s = t.w.model().state();
    for (int i = 1; i <= 101; ++i) {
        const QStringList f = lines[i].split(',');
        ASSERT_EQ(f.size(), 9);
        ASSERT_EQ(f[0].toInt(), i);
        ASSERT_EQ(readLeadingNumber(f[4].toStdString()), s.M[i]);
        ASSERT_EQ(readLeadingNumber(f[5].toStdString()), s.PiPo[i]);
    }
}

TEST(Export, RefusedSavesSaySoInWordsAndLeaveNoFile)
{
    Calculated t;
    PlotView* mach = test::plot(t.w, "Picture_Mach");
    EXPECT_FALSE(t.w.savePlotImage(mach, t.path("missing/mach.png"), ImageFormat::Png));
    EXPECT_FALSE(t.w.saveStationCsv(t.path("missing/stations.csv")));
    EXPECT_FALSE(t.w.saveStationCsv(t.dir.path()));
    ASSERT_EQ(t.errors.size(), 3);
    EXPECT_TRUE(t.errors[0].endsWith("no such file or directory")) << t.errors[0].toStdString();
    EXPECT_TRUE(t.errors[2].endsWith("is a directory")) << t.errors[2].toStdString();
    // A name without an extension is fine.
    ASSERT_TRUE(t.w.savePlotImage(mach, t.path("mach"), ImageFormat::Png));
    EXPECT_FALSE(QImage(t.path("mach"), "PNG").isNull());
    // An existing file is replaced whole or kept whole, never left half-written.
    ASSERT_TRUE(t.w.saveStationCsv(t.path("stations.csv")));
    EXPECT_EQ(QDir(t.dir.path()).entryList(QDir::Files), (QStringList{"mach", "stations.csv"}));
}

TEST(Export, CopyPutsThePictureOnTheClipboard)
{
    Calculated t;
    t.w.copyPlotImage(test::plot(t.w, "Picture_PiPo"));
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) GTEST_SKIP() << "this platform has no clipboard";
    EXPECT_GE(image.width(), 1200);
}

TEST(Export, APlotsMenuOpensOnlyOnceAFlowIsDrawn)
{
    Calculated t;
    t.w.show();
    PlotView* mach = test::plot(t.w, "Picture_Mach");
    const auto opened = [&] {
        QString name;
        QTimer::singleShot(0, [&name] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                name = popup->objectName();
                popup->close();
            }
        });
        emit mach->customContextMenuRequested(QPoint(20, 20));
        QCoreApplication::processEvents();
        return name;
    };
    EXPECT_EQ(opened(), "PlotMenu");
    t.w.menuAction("Reset")->trigger();
    EXPECT_EQ(opened(), "");
}

// The plot menu's save entries write the plot the menu was opened on, in
// the format chosen; a name typed without an extension takes that format's.
TEST(Export, APlotsMenuSavesItsPlotInTheFormatChosen)
{
    Calculated t;
    t.w.show();
    const struct {
        const char* plot;
        const char* entry;
        const char* typed;
        const char* saved;
        QByteArray holds;
    } rows[] = {
        {"Picture_Mach", "Export_svg", "mach", "mach.svg", ">M</text>"},
        {"Picture_PiPo", "Export_svg", "third", "third.svg", ">p/p0</text>"},
        {"Picture_Geo", "Export_png", "geometry", "geometry.png", "\x89PNG"},
        {"Picture_Mach", "Export_csv", "stations", "stations.csv", "i,x,y,AA,M,"},
    };
    for (const auto& r : rows) {
        // The menu's entry chosen with the keys, then the file dialog
        // answered, each once it is open.
        QTimer chooser;
        chooser.setInterval(10);
        bool chosen = false, answered = false;
        QObject::connect(&chooser, &QTimer::timeout, [&] {
            if (!chosen) {
                auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
                if (!menu) return;
                menu->setActiveAction(menu->findChild<QAction*>(r.entry));
                chosen = true;
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog || answered) return;
            answered = true;
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText(t.path(r.typed));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        chooser.start();
        emit test::plot(t.w, r.plot)->customContextMenuRequested(QPoint(20, 20));
        chooser.stop();
        EXPECT_TRUE(chosen && answered) << r.saved;
        QFile file(t.path(r.saved));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly))
            << r.saved << " not among " << QDir(t.dir.path()).entryList().join(" ").toStdString();
        EXPECT_TRUE(file.readAll().contains(r.holds)) << r.saved;
    }
    EXPECT_TRUE(t.errors.isEmpty());
}

TEST(Hover, ValuesUnderTheCursorThenTheRegimeAgain)
{
    Calculated t;
    t.w.show();
    PlotView* mach = test::plot(t.w, "Picture_Mach");
    const PlotScene& scene = t.w.logic().scene(PlotKind::Mach);
    const int px = int((1.575 - scene.left) / (scene.right - scene.left) * mach->width());
    QTest::mouseMove(mach, QPoint(px, mach->height() / 2));
    const int station =
        nearestStation(t.w.model().state(), Projection(scene, mach->width(), 1).sceneX(px));
    EXPECT_EQ(station, 66);
    EXPECT_TRUE(t.w.statusText().contains("station 66: M = ")) << t.w.statusText().toStdString();
    const QString regime =
        "Normal shock inside the nozzle at x = 1.575 (station 66; exact x = 1.5764)";
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(mach, &leave);
    EXPECT_EQ(t.w.statusText(), regime);

    PlotView* geo = test::plot(t.w, "Picture_Geo");
    QTest::mouseMove(geo, QPoint(px, geo->height() / 2));
    EXPECT_TRUE(t.w.statusText().contains("station 66: y = 0.6152, A/At = 1.2305"))
        << t.w.statusText().toStdString();
    EXPECT_EQ(t.w.statusKind(), MainWindow::StatusKind::Regime);
}

} // namespace cdnozzle
