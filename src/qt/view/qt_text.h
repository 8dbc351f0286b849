#pragma once

// The layers below the windows hold text as UTF-16 in standard strings; Qt
// holds the same units. These move text across without re-encoding.

#include <QString>

#include <string>
#include <string_view>

namespace view {

inline QString toQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline std::u16string toU16(const QString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
}

} // namespace view
