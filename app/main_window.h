// The program's window: the three input boxes, "Calculate", the two
// back-pressure scroll bars, the report list and the three plots. It owns
// the one flow state (through the model) and routes every user action to
// the calculation.
#pragma once

#include "about_window.h"
#include "nozzle_model.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;

namespace cdnozzle {

class PlotView;

// The caption of the window and of its message boxes.
inline constexpr const char* kWindowCaption = "Convergent-divergent nozzle animation";
inline constexpr const char* kApplicationTitle = "cdnozzle";

// The modal box of a failed iteration: the text, one OK button, no icon,
// the application's title as caption. Returns when the user closes it.
void showNotConvergedBox(QWidget* parent, const std::string& message);

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    const NozzleModel& model() const { return model_; }
    // Accepted calculations run since start-up.
    int calculationCount() const { return calculations_; }
    // The status line under the controls: a refusal (shown in red) or the
    // regime of the last accepted calculation.
    // What the status line says when the mouse is not over a plot (the
    // values under the cursor show only while it is).
    enum class StatusKind { Empty, Regime, Refusal, PendingPePo };
    QString statusText() const;
    StatusKind statusKind() const { return statusKind_; }
    bool statusShowsRefusal() const { return statusKind_ == StatusKind::Refusal; }
    // Replaces the modal message box of a failed iteration (tests).
    void setNotConvergedHandler(NotConvergedHandler handler) { notConverged_ = std::move(handler); }
    // Replaces the message box that tells why a file could not be saved.
    void setSaveErrorHandler(std::function<void(const QString&)> handler)
    {
        saveError_ = std::move(handler);
    }

    // The plot's context menu: copy its picture, save it as PNG or SVG (by
    // the extension), save the station table as CSV. The save functions
    // write the file whole or not at all; false (after telling the user)
    // when it could not be written.
    void copyPlotImage(const PlotView* view) const;
    bool savePlotImage(const PlotView* view, const QString& path);
    bool saveStationCsv(const QString& path);
    AboutWindow* aboutWindow() const { return about_; }
    // The client area (without menu and status bar) at this screen's DPI.
    QSize clientSizeHint() const;

  signals:
    // After every accepted calculation, once the views hold its result.
    void calculated();

  public slots:
    void Command1_Click();
    void Text_Mmax_Change();
    void Text_AAmax_Change();
    void Picture_Geo_Click();
    void VScroll1_Change(int position);
    void VScroll2_Change(int position);
    void Mn_About_Click();
    // A Pe/Po typed by the user waits for "Calculate"; the status line says so.
    void Text_PePo_Edited();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void layoutClient();
    void Calc_Flow();
    void writePePoText(double pepo);
    double pepoInBox() const;
    void showRefusal(const std::string& message);
    void showRegime();
    void repaintPlotsNow();
    void setStatus(StatusKind kind, const QString& text);
    void showHover(PlotView* view, double x);
    void restoreStatus();
    void showPlotMenu(PlotView* view, const QPoint& position);

    NozzleModel model_;
    NotConvergedHandler notConverged_;
    std::function<void(const QString&)> saveError_;
    QString statusBaseText_;
    int calculations_ = 0;
    int scrollDepth_ = 0;
    StatusKind statusKind_ = StatusKind::Empty;

    QWidget* client_ = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLineEdit* Text_Mmax = nullptr;
    QLineEdit* Text_AAmax = nullptr;
    QLineEdit* Text_PePo = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QScrollBar* VScroll2 = nullptr;
    QPushButton* Command1 = nullptr;
    QListWidget* List1 = nullptr;
    PlotView* Picture_Geo = nullptr;
    PlotView* Picture_Mach = nullptr;
    PlotView* Picture_PiPo = nullptr;
    QLabel* statusLine_ = nullptr;
    QPointer<AboutWindow> about_;
};

} // namespace cdnozzle
