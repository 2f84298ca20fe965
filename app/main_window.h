// SPDX-License-Identifier: MIT
// The program's window: the three input boxes, "Calculate", the two
// back-pressure scroll bars, the report list and the three plots, with the
// menus and the explanation panel. It turns every user action into an Event
// for the window's logic and shows the ViewState the logic publishes; the
// logic owns the flow state and makes every decision a user can see.
#pragma once

#include "about_window.h"
#include "panel/window_logic.h"
#include "plot_render.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QDialog;
class QDockWidget;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QCheckBox;
class QPushButton;
class QScrollArea;
class QScrollBar;
class QSlider;
class QStyle;
class QToolBar;

namespace cdnozzle {

class LimitMarks;
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

    // Every user action goes through here: the logic takes it (the time is
    // the play's clock), then the window shows the logic's view.
    void dispatch(Event event);

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
    // The status line shows a refusal, in red, as the view says.
    bool statusShowsRefusal() const;
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

    // The plot's context menu: copy its picture, save it as PNG or SVG, save
    // the station table as CSV. The save functions write the file whole or
    // not at all; false (after telling the user) when it could not be
    // written.
    void copyPlotImage(const PlotView* view);
    bool savePlotImage(const PlotView* view, const QString& path, ImageFormat format);
    bool saveStationCsv(const QString& path);
    AboutWindow* aboutWindow() const { return about_; }

    // The view's zoom for the projector: the designed layout, its fonts
    // (the menus' too) and the plots' pens from 100 % to 300 %. The window
    // never grows beyond the screen it is on, and a maximised window stays
    // maximised: what does not fit comes off the plots, and where even that
    // is not enough the controls and plots scroll, while the play bar, the
    // status lines and the explanation stay in the window. Back at 100 % the
    // window takes the place and size it had before the zoom.
    double zoom() const { return zoom_; }

    // The explanation panel below the plots, as tall as its wrapped text.
    bool explanationShown() const;
    QString explanationText() const;

    // The play's clock in seconds (tests drive it by hand) and one tick of it.
    void setClock(std::function<double()> clock) { clock_ = std::move(clock); }
    void playTick();
    // The menu entries by their names, and those of the play.
    QAction* menuAction(const std::string& id) const;
    QAction* playAction() const { return menuAction("Play"); }
    QAction* reverseAction() const { return menuAction("PlayReverse"); }
    QAction* slowerAction() const { return menuAction("PlaySlower"); }
    QAction* fasterAction() const { return menuAction("PlayFaster"); }
    QAction* pauseAtLimitsAction() const { return menuAction("PauseAtLimits"); }
    QAction* explainAction() const { return menuAction("ExplainToggle"); }
    // The client area (without menu and status bar) at this screen's DPI.
    QSize clientSizeHint() const;

    // What the window's controls show now, as a JSON object in the form the
    // page gives for its own: boxes, bars, status, report, explanation, the
    // menus' entries, the plots' captions, the engine's boxes ("engine", in
    // EngineFieldKind's order), its line ("engineLine") and the altitude
    // slider ("altitude", "altitudeEnabled") (the replay test compares the
    // two front ends with it).
    std::string shownJson() const;

  signals:
    // After every accepted calculation, once the views hold its result.
    void calculated();

  public slots:
    // "Calculate" pressed: takes the typed Pe/Po and calculates.
    void Command1_Click();
    // The design Mach number's box edited: recalculates at once.
    void Text_Mmax_Change();
    // The "Amax/At =" box edited: recalculates at once.
    void Text_AAmax_Change();
    // A click on the geometry plot: calculates, as "Calculate" does.
    void Picture_Geo_Click();
    // The coarse back-pressure bar moved to a position (1..100).
    void VScroll1_Change(int position);
    // The fine back-pressure bar moved to a position (1..1000).
    void VScroll2_Change(int position);
    // Help > About: shows the About window.
    void Mn_About_Click();
    // A Pe/Po typed, pasted or set into its box waits for "Calculate"; the status line says so.
    void Text_PePo_Edited();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void layoutClient();
    // Shows the logic's view: what changed since the last time.
    void render();
    void renderMenus(const std::vector<Menu>& menus);
    void fillMenu(QMenu* menu, const Menu& items);
    void choose(const MenuItem& item);
    void repaintPlotsNow();
    void buildEngine(const std::vector<EngineField>& fields);
    void renderEngine(const ViewState& v);
    void renderBanner(const std::string& text);
    void placeBanner();
    void buildPlayBar();
    void renderPlayBar(const Menu& play, const std::string& speed);
    void sizePlayBar();
    void renderKeys(const ViewState& v);
    std::optional<std::string> askOtherGas();
    void showPlotMenu(PlotView* view, const QPoint& position);
    void exportFile(PlotKind plot, const std::string& format);
    bool writeExport(const QString& path);
    PlotKind kindOf(const PlotView* view) const;
    double now() const { return clock_(); }
    void applyZoomToFonts();
    void scaleMenuFont(QMenu* menu) const;
    QDockWidget* explanationPanel() const;
    void fitWindow();
    int reportLineHeight() const;
    void fitEnginePanel();
    QSize clientFloor() const;
    void keepOnScreen();
    void renderLimitMarks(const std::vector<LimitMark>& marks);
    void renderProjector(const ViewState& v);
    void renderExplanation(bool shown);
    void takeScreen();
    void saveSettings();
    void loadSettings();

    WindowLogic logic_;
    std::function<void(const QString&)> saveError_;

    QWidget* client_ = nullptr;
    QLabel* Label1 = nullptr;         // "Pe/Po =", the back-pressure box's label
    QLabel* Label2 = nullptr;         // "Me_Sup =", the design Mach number box's label
    QLabel* Label3 = nullptr;         // "Amax/At =", the geometry plot's height box's label
    QLabel* Label4 = nullptr;         // "M", the Mach plot's axis caption
    QLabel* Label5 = nullptr;         // the third plot's axis caption ("p/p0", ...)
    QLineEdit* Text_Mmax = nullptr;   // the design exit Mach number (Me_Sup)
    QLineEdit* Text_AAmax = nullptr;  // "Amax/At =": the geometry plot's half-height
    QLineEdit* Text_PePo = nullptr;   // the back pressure ratio Pe/Po, used on Calculate
    QScrollBar* VScroll1 = nullptr;   // the coarse Pe/Po bar: 1..100, steps of 0.01
    QScrollBar* VScroll2 = nullptr;   // the fine Pe/Po bar: 1..1000, steps of 0.001
    QPushButton* Command1 = nullptr;  // the "Calculate" button
    QListWidget* List1 = nullptr;     // the report list: one line per figure
    PlotView* Picture_Geo = nullptr;  // the nozzle's contour, with the shock when there is one
    PlotView* Picture_Mach = nullptr; // the Mach number along the nozzle
    PlotView* Picture_PiPo = nullptr; // the third plot: p/p0, T/T0 or rho/rho0 along the nozzle
    QLabel* coarseLabel_ = nullptr;
    QLabel* fineLabel_ = nullptr;
    // The client area scrolls when even its smallest size does not fit.
    QScrollArea* scroll_ = nullptr;
    // The play bar over the client area: the play's buttons from the Play
    // menu, each as wide as its widest label, and the speed between them.
    QToolBar* playBar_ = nullptr;
    std::map<std::string, QWidget*> playButtons_;
    QLabel* speed_ = nullptr;
    // Menus, buttons and boxes at least 24 x 24 pixels.
    QStyle* targetStyle_ = nullptr;
    QLabel* statusLine_ = nullptr;
    QLabel* explanation_ = nullptr;
    // The engine's panel beside the plots: one box per engine field (in
    // EngineFieldKind's order), the altitude slider and its value, and the
    // engine's line under the status line.
    QDockWidget* enginePanel_ = nullptr;
    QScrollArea* engineScroll_ = nullptr;
    std::vector<QLineEdit*> engineBoxes_;
    std::vector<QLabel*> engineLabels_;
    QSlider* altitude_ = nullptr;
    QLabel* altitudeText_ = nullptr;
    QLabel* engineLine_ = nullptr;
    // Over the plots while the play stands still at a limit.
    QLabel* banner_ = nullptr;
    // The list of keys, while the logic says it is shown.
    QPointer<QDialog> keys_;
    bool keysShown_ = false;
    LimitMarks* coarseMarks_ = nullptr;
    LimitMarks* fineMarks_ = nullptr;
    QAction* aboutAction_ = nullptr; // Mn_About: "About", the menu bar's last entry
    QTimer playTimer_;
    QElapsedTimer elapsed_;
    std::function<double()> clock_;
    QPointer<AboutWindow> about_;

    // The zoom the window is laid out at: the view's, once shown.
    double zoom_ = 1.0;
    // The room the user gave the plots beyond their designed size, kept
    // through zooms and the explanation's changes.
    QSize userExtra_{0, 0};
    bool fitting_ = false;
    // The projector view as shown, and the window's place before it.
    bool shownProjector_ = false;
    int shownProjectorPlot_ = 0;
    double shownStatusSize_ = 0, shownBannerSize_ = 0;
    QRect beforeProjector_;
    bool shownBefore_ = false;
    // Where the window stood and how large it was when it left 100 %.
    QRect beforeZoom_;

    // What the window shows already, so it redraws only what changed.
    // The revisions the plots were last painted at: each plot's, the
    // settings' (zoom, projector), and whether the banner stood over them.
    std::array<int, 5> shownPictures_{};
    std::vector<std::string> shownReport_;
    int shownExport_ = 0;
    std::vector<Menu> shownMenus_;
    std::vector<Setting> savedSettings_;
};

} // namespace cdnozzle
