// The program's window: the three input boxes, "Calculate", the two
// back-pressure scroll bars, the report list and the three plots. It owns
// the one flow state (through the model) and routes every user action to
// the calculation.
#pragma once

#include "about_window.h"
#include "panel/nozzle_model.h"
#include "panel/window_logic.h"
#include "plot_render.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>

class QAction;
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
// The window's largest width and height, in pixels.
inline constexpr int kMaximumWindowSize = 8192;

// The modal box of a failed iteration: the text, one OK button, no icon,
// the application's title as caption. Returns when the user closes it.
void showNotConvergedBox(QWidget* parent, const std::string& message);

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    const NozzleModel& model() const { return logic_.model(); }
    const WindowLogic& logic() const { return logic_; }
    // Accepted calculations run since start-up.
    int calculationCount() const { return logic_.calculationCount(); }
    // The status line under the controls: the regime of the last accepted
    // calculation, a refusal (in red), the hint for a typed Pe/Po, or the
    // values under the cursor while the mouse is over a plot.
    using StatusKind = cdnozzle::StatusKind;
    QString statusText() const;
    StatusKind statusKind() const { return logic_.statusKind(); }
    bool statusShowsRefusal() const { return logic_.statusKind() == StatusKind::Refusal; }
    // Replaces the modal message box of a failed iteration (tests).
    void setNotConvergedHandler(NotConvergedHandler handler)
    {
        logic_.setNotConvergedHandler(std::move(handler));
    }
    // Replaces the message box that tells why a file could not be saved.
    void setSaveErrorHandler(std::function<void(const QString&)> handler)
    {
        saveError_ = std::move(handler);
    }

    // The plot's context menu: copy its picture, save it as PNG or SVG (as
    // the dialog's filter says), save the station table as CSV. The save
    // functions write the file whole or not at all; false (after telling the
    // user) when it could not be written.
    void copyPlotImage(const PlotView* view) const;
    bool savePlotImage(const PlotView* view, const QString& path, ImageFormat format);
    bool saveStationCsv(const QString& path);
    AboutWindow* aboutWindow() const { return about_; }

    // Zoom for the projector: the designed layout, its fonts and the plots'
    // pens from 100 % to 300 % in steps of 25 %. Runs no calculation.
    static constexpr double kZoomMin = 1.0, kZoomMax = 3.0, kZoomStep = 0.25;
    double zoom() const { return zoom_; }
    void setZoom(double zoom);
    void zoomIn() { setZoom(zoom_ + kZoomStep); }
    void zoomOut() { setZoom(zoom_ - kZoomStep); }

    // The explanation panel below the plots.
    bool explanationShown() const;
    QString explanationText() const;
    void setExplanationShown(bool shown);

    // The gas of the calculation (the Gas menu's "Other..."), named by
    // gasNameFor(k); k from 1.05 to 1.7.
    void setGas(double k);
    // What the third plot shows (its context menu): p/p0, T/T0 or rho/rho0.
    void setThirdPlot(PlotQuantity quantity);

    // The play's clock in seconds (tests drive it by hand) and one tick of it.
    void setClock(std::function<double()> clock) { clock_ = std::move(clock); }
    void playTick();
    // The play's menu actions: Play/Pause, Reverse, Slower, Faster, Pause at
    // the limits, Explain.
    QAction* playAction() const { return playAction_; }
    QAction* reverseAction() const { return reverseAction_; }
    QAction* slowerAction() const { return slowerAction_; }
    QAction* fasterAction() const { return fasterAction_; }
    QAction* pauseAtLimitsAction() const { return pauseAtLimitsAction_; }
    QAction* explainAction() const { return explainAction_; }
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
    // Shows what the logic says: box texts, bar positions, status line; the
    // plots and the list after each accepted calculation.
    void showLogic();
    void showCalculation();
    void takePePoText();
    void repaintPlotsNow();
    void showPlotMenu(PlotView* view, const QPoint& position);
    PlotKind kindOf(const PlotView* view) const;
    DisplayList exportOf(const PlotView* view) const;
    void buildMenus();
    double now() const { return clock_(); }
    void updatePlayControls();
    void applyZoomToFonts();
    void updateGasMenu();
    int explanationHeight() const;
    void saveSettings() const;
    void loadSettings();

    WindowLogic logic_;
    std::function<void(const QString&)> saveError_;

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
    QLabel* explanation_ = nullptr;
    QAction* playAction_ = nullptr;
    QAction* reverseAction_ = nullptr;
    QAction* slowerAction_ = nullptr;
    QAction* fasterAction_ = nullptr;
    QAction* pauseAtLimitsAction_ = nullptr;
    QAction* explainAction_ = nullptr;
    QTimer playTimer_;
    QElapsedTimer elapsed_;
    std::function<double()> clock_;
    double zoom_ = 1.0;
    QPointer<AboutWindow> about_;
};

} // namespace cdnozzle
