#pragma once

class QPaintDevice;

// Paints the page selector's gradient over the whole device: 51 vertical bands from light blue
// RGB(213, 231, 246) at the left to white at the right.
void PaintGradient(QPaintDevice &target);
