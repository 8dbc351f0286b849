#pragma once

namespace chrome {

// Makes the family "Tahoma" available to the application. Systems without
// Tahoma (Linux) get the metric-compatible one from Debian's fonts-wine when
// it is installed; elsewhere nothing changes. Safe to call more than once;
// needs a QGuiApplication.
void ensureTahoma();

} // namespace chrome
