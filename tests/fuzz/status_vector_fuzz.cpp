// Status vectors of the shapes the client library fills (error clusters with
// their string and number arguments, SQL states, warnings, system errors)
// turned into the user's error text through the real client library: the
// text always starts with the prefix, ends, and holds only whole lines.

#include "fuzz_input.h"

#include "data/connection.h"

#include <deque>
#include <string_view>
#include <vector>

using fuzzing::require;

namespace {

// Codes whose messages take arguments or that the program treats specially.
constexpr ISC_STATUS KnownCodes[] = {
    335544375, 335544528, 335544648, 335544721, 335544722, 335544726, 335544727, 335544741,
    335544856, 335544569, 335544580, 335544578, 335544321, 335544914, 335545033, 335544344,
    335544734, 335544345, 335544382, 335544364, 335544572, 336003095, 336397208, 335544436,
    335544576, 335544577, 335544831, 335544352, 335544704, 335544706, 335544472,
};

quelvo::Connection& connection()
{
    static quelvo::ClientLibrary library;
    static quelvo::Connection* made = [] {
        library.load(); // the real libfbclient: its own fb_interpret
        return new quelvo::Connection(library);
    }();
    return *made;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzing::Input in(data, size);
    std::deque<std::string> texts; // the vector points into these
    std::vector<ISC_STATUS> vector;
    auto code = [&in] {
        const std::uint8_t pick = in.byte();
        if (pick < 200)
            return KnownCodes[pick % std::size(KnownCodes)];
        const ISC_STATUS any = static_cast<ISC_STATUS>(in.u32());
        return any ? any : ISC_STATUS{335544569};
    };
    auto text = [&](std::size_t limit) {
        texts.push_back(in.bytes(in.u16() % limit));
        // A C string ends at its first zero byte, as the library's own do.
        texts.back() = texts.back().c_str();
        return reinterpret_cast<ISC_STATUS>(texts.back().c_str());
    };

    vector.push_back(isc_arg_gds);
    vector.push_back(code());
    for (int clusters = 0; !in.empty() && clusters < 80; ++clusters) {
        switch (in.byte() % 9) {
        case 0:
        case 1:
            vector.push_back(isc_arg_gds);
            vector.push_back(code());
            break;
        case 2:
            vector.push_back(isc_arg_string);
            vector.push_back(text(2048));
            break;
        case 3:
            vector.push_back(isc_arg_number);
            vector.push_back(static_cast<ISC_LONG>(in.u32()));
            break;
        case 4: {
            vector.push_back(isc_arg_cstring);
            const ISC_STATUS pointer = text(2048);
            vector.push_back(static_cast<ISC_STATUS>(texts.back().size()));
            vector.push_back(pointer);
            break;
        }
        case 5:
            vector.push_back(isc_arg_interpreted);
            vector.push_back(text(600));
            break;
        case 6:
            vector.push_back(isc_arg_sql_state);
            texts.push_back(in.bytes(5));
            texts.back() = texts.back().c_str();
            vector.push_back(reinterpret_cast<ISC_STATUS>(texts.back().c_str()));
            break;
        case 7:
            vector.push_back(isc_arg_warning);
            vector.push_back(code());
            break;
        default:
            vector.push_back(isc_arg_unix);
            vector.push_back(in.byte());
            break;
        }
    }
    vector.push_back(isc_arg_end);

    const quelvo::DataError error = connection().error(vector.data());
    const std::string_view message = error.what();
    require(message.starts_with("[FireDAC][Phys][FB]"), "every message starts with the prefix");
    require(error.code() == vector[1], "the code is the vector's first");

    // The library's own messages for the whole vector, walked to its end:
    // each one that has text is a line of the message, in order.
    std::string lines;
    std::size_t count = 0;
    const ISC_STATUS* cursor = vector.data();
    for (int call = 0; call < 64 && *cursor != isc_arg_end; ++call) {
        char text[513];
        const ISC_STATUS* before = cursor;
        if (connection().api().fb_interpret(text, sizeof text, &cursor) > 0) {
            lines += (count++ ? "\r\n" : "") + std::string(text);
        } else if (cursor == before) {
            break;
        }
    }
    require(message.substr(19) == lines, "every message of the vector, and only those, in order");
    require(message.find('\0') == std::string_view::npos, "no zero bytes in the text");
    return 0;
}
