// SPDX-License-Identifier: MIT
#include "about_window.h"

#include "twips.h"

#include <QFontMetrics>
#include <QLabel>

namespace cdnozzle {

namespace {

struct AboutLine {
    const char* name;
    const char* text;
    int left, top, width, height;
    QColor color;
    double points;
};

} // namespace

AboutWindow::AboutWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("Form_About");
    setWindowTitle("About");
    const double dpi = layoutDpi(this);
    setFixedSize(twipsToPixels(3600, dpi), twipsToPixels(2130, dpi));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(255, 255, 192));
    setPalette(palette);

    const QColor green(0, 128, 0);
    const QColor black(0, 0, 0);
    const AboutLine lines[] = {
        {"Label2", "Animation Program for", 600, 120, 2175, 255, green, 9.75},
        {"Label3", "Convergent divergent nozzle", 240, 360, 3015, 255, green, 9.75},
        {"Label4", "For comments and questions e-mail to", 120, 1560, 3375, 255, black, 8.25},
        {"Label5", "cdnozzle@example.org", 840, 1800, 1935, 255, QColor(0, 0, 255), 8.25},
        {"Label7", "Developed by the cdnozzle authors", 480, 960, 2775, 255, black, 8.25},
        {"Label8", "Last update: March 2007", 720, 1200, 2295, 255, black, 8.25},
    };
    for (const AboutLine& line : lines) {
        auto* label = new QLabel(QString::fromUtf8(line.text), this);
        label->setObjectName(line.name);
        QFont font("Verdana");
        font.setStyleHint(QFont::SansSerif);
        font.setPointSizeF(line.points);
        // Where the named font is missing its stand-in may run wider: shrink
        // it until the line fits its place instead of cutting it off.
        const QRect place = twipsRect(line.left, line.top, line.width, line.height, dpi);
        while (font.pointSizeF() > 6 &&
               QFontMetrics(font).horizontalAdvance(QString::fromUtf8(line.text)) > place.width()) {
            font.setPointSizeF(font.pointSizeF() - 0.25);
        }
        label->setFont(font);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, line.color);
        label->setPalette(p);
        label->setGeometry(place);
    }
}

} // namespace cdnozzle
