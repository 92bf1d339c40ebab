#pragma once

class QWidget;

namespace WindowPlacement {
/// Centres the top-level `window` over `over` when it is shown, else on the screen's free area; before `show()`.
void centre(QWidget& window, const QWidget* over = nullptr);
/// Escape closes `window`.
void closeOnEscape(QWidget& window);
} // namespace WindowPlacement
