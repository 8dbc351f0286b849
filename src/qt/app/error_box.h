#pragma once

#include <QString>

#include <functional>
#include <string>

namespace app {

// What one error box shows.
struct ErrorBox {
    QString caption; // the application title
    QString text;    // the message, with the final "." rule applied
};

// Shows every error that escapes a handler: the message, a stop icon, one OK
// button, the application title as caption. Tests replace the modal box by
// a sink that records what would have been shown.
// `executablePath` is the program file's full path, which gives the title.
void installErrorBox(const std::u16string& executablePath);
void setErrorBoxSink(std::function<void(const ErrorBox&)> sink);

} // namespace app
