#include "data/data_error.h"

namespace quelvo {

DataError DataError::detected(ErrorNumber number, const std::string& text)
{
    return DataError(std::string(ErrorPrefix) + "-" + std::to_string(static_cast<int>(number)) + ". " + text, 0);
}

DataError DataError::valueTooLong(const std::string& variable, std::size_t maxBytes, std::size_t bytes,
                                  const std::string& hint)
{
    return detected(ErrorNumber::ValueTooLong, "Data too large for variable [" + variable + "]. Max len = [" +
                                                   std::to_string(maxBytes) + "], actual len = [" +
                                                   std::to_string(bytes) + "] Hint: " + hint);
}

bool isServerGone(long code)
{
    switch (code) {
    case 335544375: // unavailable database
    case 335544528: // database shutdown
    case 335544648: // connection lost to pipe server
    case 335544741: // connection lost to database
    case 335544856: // connection shutdown
        return true;
    default:
        return code >= 335544721 && code <= 335544727; // network errors
    }
}

} // namespace quelvo
