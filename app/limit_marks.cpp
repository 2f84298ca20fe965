// SPDX-License-Identifier: MIT
#include "limit_marks.h"

#include <QHelpEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace cdnozzle {

LimitMarks::LimitMarks(QScrollBar* bar, QWidget* parent) : QWidget(parent), bar_(bar) {}

void LimitMarks::setMarks(std::vector<Mark> marks)
{
    if (marks == marks_) return;
    marks_ = std::move(marks);
    update();
}

int LimitMarks::markY(int position) const
{
    QStyleOptionSlider option;
    option.initFrom(bar_);
    option.orientation = bar_->orientation();
    option.minimum = bar_->minimum();
    option.maximum = bar_->maximum();
    option.singleStep = bar_->singleStep();
    option.pageStep = bar_->pageStep();
    option.sliderPosition = option.sliderValue = bar_->value();
    option.subControls = QStyle::SC_All;
    const QRect groove = bar_->style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                                       QStyle::SC_ScrollBarGroove, bar_);
    // The position's share of the groove: the thumb covers that point
    // whenever the bar stands there, however long the thumb is, and the
    // marks spread along the groove even where the thumb fills it.
    const int span = bar_->maximum() - bar_->minimum();
    const double share =
        span > 0
            ? double(std::clamp(position, bar_->minimum(), bar_->maximum()) - bar_->minimum()) /
                  span
            : 0;
    return bar_->y() - y() + groove.top() +
           static_cast<int>(std::lround(share * (groove.height() - 1)));
}

const LimitMarks::Mark* LimitMarks::markAt(int y) const
{
    const Mark* nearest = nullptr;
    int distance = std::max(3, width() / 2) + 1;
    for (const Mark& m : marks_) {
        const int d = std::abs(markY(m.position) - y);
        if (d < distance) {
            distance = d;
            nearest = &m;
        }
    }
    return nearest;
}

void LimitMarks::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Ticks grow with the strip (the zoom), and show at every size.
    const int thickness = std::max(2, width() / 4);
    for (const Mark& m : marks_) {
        const int y = markY(m.position);
        painter.fillRect(QRect(0, y - thickness / 2, width(), thickness), QColor(0, 0, 128));
    }
}

bool LimitMarks::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const Mark* m = markAt(help->pos().y()))
            QToolTip::showText(help->globalPos(), m->name, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

} // namespace cdnozzle
