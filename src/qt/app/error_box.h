#pragma once

#include <QString>

#include <functional>

namespace app {

// What one error box shows.
struct ErrorBox {
    QString caption; // the application title
    QString text;    // the message, with the final "." rule applied
};

// Shows every error that escapes a handler: the message, a stop icon, one OK
// button, the application title as caption. Tests replace the modal box by
// a sink that records what would have been shown.
void installErrorBox(const QString& applicationTitle);
void setErrorBoxSink(std::function<void(const ErrorBox&)> sink);

ErrorBox errorBoxFor(const QString& applicationTitle, const std::string& message);

} // namespace app
