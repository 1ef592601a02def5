#pragma once
#include <QGuiApplication>
#include <memory>

namespace ostrivane {

// The GUI application object that painting text and images needs, for a process that has none
// (the command-line tool): made on Qt's offscreen platform, which needs no display, so exports
// work on a server. Only Qt's real errors reach standard error. Returns nothing when the process
// already has an application object (the window), which then keeps serving.
std::unique_ptr<QGuiApplication> offscreen_application();

}  // namespace ostrivane
