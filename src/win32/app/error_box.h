#pragma once

#include "ui/error_box.h"

#include <functional>
#include <string>

namespace win32 {

// Every error that escapes a handler: MessageBoxW with the text, a stop icon,
// one OK button and the application title as caption, over the active window
// of the program. Tests replace the box by a sink.
void installErrorBox(const std::u16string& executablePath);
void setErrorBoxSink(std::function<void(const ui::ErrorBoxContent&)> sink);

// The sink that shows the real box.
void showErrorBox(const ui::ErrorBoxContent& content);

} // namespace win32
