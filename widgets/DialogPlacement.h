// Where a dialog goes over the main window.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

/// The outer top-left that centres a dialog of outer size `dialog` over the outer rectangle `main`: halves
/// truncated toward zero (so a spare pixel falls right and below), and never above the main window's top.
QPoint CentredOver(const QRect& main, const QSize& dialog);

/// The dialog's size with its window frame; before its first showing the window manager has not framed
/// it yet, and the main window's frame, drawn by the same window manager, stands in.
QSize FramedSize(const QWidget& dialog, const QWidget& mainWindow);

/// Moves `dialog` centred over `mainWindow`.
void PlaceOver(QWidget& dialog, const QWidget& mainWindow);
