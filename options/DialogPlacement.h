// Where a dialog goes over its main window.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

/// The outer top-left that centres a dialog of outer size `dialog` over the outer rectangle `main`: halves
/// truncated toward zero (so a spare pixel falls right and below), and never above the main window's top.
QPoint CentredOver(const QRect& main, const QSize& dialog);
