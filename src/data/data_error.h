#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace quelvo {

// Every message of the data layer starts with this.
inline constexpr const char* ErrorPrefix = "[FireDAC][Phys][FB]";

// Numbers of the errors that the program detects itself.
enum class ErrorNumber : int {
    CannotLoadLibrary = 314,
    MissingEntryPoints = 315,
    ValueTooLong = 345,
};

// An error of the database layer. what() is exactly the text the user sees
// (UTF-8), before the error box's final full stop; code() is the first code
// of the client library's status vector, or 0 for errors found here.
class DataError : public std::runtime_error {
public:
    DataError(const std::string& message, long code) : std::runtime_error(message), code_(code) {}
    long code() const { return code_; }

    // "[FireDAC][Phys][FB]-<number>. <text>"
    static DataError detected(ErrorNumber number, const std::string& text);
    // Error 345: a value longer than the variable that takes it.
    static DataError valueTooLong(const std::string& variable, std::size_t maxBytes, std::size_t bytes,
                                  const std::string& hint);

private:
    long code_;
};

// A result column whose type is not the wide text the field expects.
class FieldTypeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Codes after which the server counts as gone: the attachment is closed and
// the next search attaches anew.
bool isServerGone(long code);

} // namespace quelvo
