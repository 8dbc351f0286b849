#pragma once

class QWidget;

// Clips `componente` to a rectangle over its whole client area whose corners
// are arcs of a Y x Y ellipse (in device pixels), and repaints it. Its
// children are clipped with it.
void Arredondarcantos(QWidget* componente, int Y);
