#pragma once

class MainWindow;

/// The whole program at a glance: which subsystem answers which control of the main window, and which window
/// opens which. Called once the main window is loaded; the subsystems live as long as the window.
namespace Wiring {
void connectSubsystems(MainWindow& window);
}
