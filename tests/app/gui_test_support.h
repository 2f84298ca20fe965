// SPDX-License-Identifier: MIT
// Finding the window's controls by their names, and recording calculations.
#pragma once

#include "main_window.h"
#include "plot_view.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <vector>

namespace cdnozzle::test {

template <class T> T* control(const MainWindow& window, const char* name)
{
    T* found = window.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

inline QLineEdit* box(const MainWindow& w, const char* name)
{
    return control<QLineEdit>(w, name);
}
inline QScrollBar* bar(const MainWindow& w, const char* name)
{
    return control<QScrollBar>(w, name);
}
inline PlotView* plot(const MainWindow& w, const char* name)
{
    return control<PlotView>(w, name);
}

// Whether a plot of the window paints a flow (more than its background).
inline bool paintsFlow(const MainWindow& w, const char* name)
{
    return !plot(w, name)->picture().lines.empty();
}

// The zoom as a setting kept between runs is taken back.
inline void setZoom(MainWindow& w, double zoom)
{
    w.dispatch(Event(EventKind::Setting, "zoom=" + QString::number(zoom, 'g', 17).toStdString()));
}

inline QStringList listLines(const MainWindow& w)
{
    QStringList lines;
    const auto* list = control<QListWidget>(w, "List1");
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}

// The Pe/Po of every calculation the window runs, in order.
class CalculationLog {
  public:
    explicit CalculationLog(MainWindow& w)
    {
        QObject::connect(&w, &MainWindow::calculated,
                         [this, &w] { pepo.push_back(w.model().state().PePo); });
    }
    std::vector<double> pepo;
};

} // namespace cdnozzle::test
